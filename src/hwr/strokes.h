// Handwritten strokes as the pad sends them, and their normalisation to the
// writing box the recogniser expects.
#pragma once

#include <algorithm>
#include <cstddef>
#include <limits>
#include <vector>

namespace lumiko::hwr {

struct Point {
    double x = 0;
    double y = 0;
};
using Stroke = std::vector<Point>;
using Strokes = std::vector<Stroke>;

// The side of the square the recogniser sees a character in.
constexpr int kBoxSize = 1000;

// The box around every point of a drawing; empty when it has none.
struct Bounds {
    double minX = std::numeric_limits<double>::max(), minY = std::numeric_limits<double>::max();
    double maxX = std::numeric_limits<double>::lowest(), maxY = std::numeric_limits<double>::lowest();
    bool empty() const { return minX > maxX; }
    // The longer side.
    double extent() const { return std::max(maxX - minX, maxY - minY); }
};
Bounds boundsOf(const Strokes& strokes);

// Moves and scales the drawing so that its bounding box, aspect kept, fills
// the middle of a kBoxSize square with a margin on every side: a character
// written small or off-centre looks like one written in the middle. A
// drawing without extent (a single dot) is only moved to the middle.
Strokes normaliseToBox(const Strokes& strokes);

// How deep the recogniser looks into a stroke: it splits a stroke at the
// point farthest from the straight line between its ends, then each part
// again, and reads only the parts of the first few splits. Deeper splits cost
// it work (and memory that doubles with every level) for nothing it reads.
constexpr int kStrokeSplits = 5;
// At most this many points of a stroke reach the recogniser.
constexpr size_t kStrokePoints = (size_t{1} << kStrokeSplits) + 1;
// At most this many points of a whole character do (its work grows with
// them): written characters keep far fewer, only scribbles lose detail.
constexpr size_t kCharacterPoints = 128;

// Each stroke rounded to whole units of the kBoxSize square (as the
// recogniser takes it) and reduced to the points where the recogniser would
// split it, down to kStrokeSplits levels: the same parts, so the same
// reading, from at most kStrokePoints points however many were drawn. When
// the character would keep more than kCharacterPoints, every stroke is split
// one level less, until it keeps no more (the ends of each stroke always
// stay).
Strokes keepShape(const Strokes& strokes);

}  // namespace lumiko::hwr

// Handwritten strokes as the pad sends them, and their normalisation to the
// writing box the recogniser expects.
#pragma once

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

// Moves and scales the drawing so that its bounding box, aspect kept, fills
// the middle of a kBoxSize square with a margin on every side: a character
// written small or off-centre looks like one written in the middle. A
// drawing without extent (a single dot) is only moved to the middle.
Strokes normaliseToBox(const Strokes& strokes);

}  // namespace lumiko::hwr

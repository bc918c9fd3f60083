// Bounding-box normalisation of handwritten strokes.
#include "hwr/strokes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lumiko::hwr {

namespace {
// The share of the box a character's longer side takes.
constexpr double kFill = 0.8;
}  // namespace

Bounds boundsOf(const Strokes& strokes) {
    Bounds b;
    for (const Stroke& s : strokes)
        for (const Point& p : s) {
            b.minX = std::min(b.minX, p.x);
            b.maxX = std::max(b.maxX, p.x);
            b.minY = std::min(b.minY, p.y);
            b.maxY = std::max(b.maxY, p.y);
        }
    return b;
}

Strokes normaliseToBox(const Strokes& strokes) {
    const Bounds b = boundsOf(strokes);
    if (b.empty()) return strokes;  // no points at all
    const double extent = b.extent();
    const double scale = extent > 0 ? kFill * kBoxSize / extent : 0;
    const double centreX = (b.minX + b.maxX) / 2, centreY = (b.minY + b.maxY) / 2;
    Strokes out;
    out.reserve(strokes.size());
    for (const Stroke& s : strokes) {
        Stroke t;
        t.reserve(s.size());
        for (const Point& p : s)
            t.push_back({kBoxSize / 2.0 + (p.x - centreX) * scale, kBoxSize / 2.0 + (p.y - centreY) * scale});
        out.push_back(std::move(t));
    }
    return out;
}

namespace {

// How far (squared, as a share of the square's side) a point must lie from
// the line between the ends of a part for the recogniser to split the part
// there; computed in single precision, the way it computes it.
constexpr float kSplitDistance = 0.001f;

struct Unit {
    float x, y;  // a point as a share of the square's side
};

// The point of (first, last) farthest from the line first–last, or `first`
// when none lies farther than kSplitDistance.
size_t splitPoint(const std::vector<Unit>& u, size_t first, size_t last) {
    const float a = u[last].x - u[first].x;
    const float b = u[last].y - u[first].y;
    const float c = u[last].y * u[first].x - u[last].x * u[first].y;
    float max = -1;
    size_t best = first;
    for (size_t n = first; n != last; ++n) {
        const float d = std::fabs(a * u[n].y - b * u[n].x + c);
        if (d > max) {
            max = d;
            best = n;
        }
    }
    return max * max / (a * a + b * b) > kSplitDistance ? best : first;
}

// Marks the level at which each point of (first, last) splits its part
// (0 for the first split), down to kStrokeSplits levels.
void markSplits(const std::vector<Unit>& u, size_t first, size_t last, int depth, std::vector<int>& level) {
    if (depth == kStrokeSplits || last - first < 2) return;
    const size_t best = splitPoint(u, first, last);
    if (best == first) return;
    level[best] = depth;
    markSplits(u, first, best, depth + 1, level);
    markSplits(u, best, last, depth + 1, level);
}

}  // namespace

Strokes keepShape(const Strokes& strokes) {
    constexpr int kNever = kStrokeSplits;  // a point no split reaches
    std::vector<Stroke> whole(strokes.size());
    std::vector<std::vector<int>> levels(strokes.size());
    // How many points are kept when splitting goes down to each level.
    std::vector<size_t> keptAt(kStrokeSplits + 1, 0);
    for (size_t i = 0; i < strokes.size(); ++i) {
        Stroke& w = whole[i];
        w.reserve(strokes[i].size());
        for (const Point& p : strokes[i]) w.push_back({std::round(p.x), std::round(p.y)});
        std::vector<int>& level = levels[i];
        level.assign(w.size(), kNever);
        if (w.empty()) continue;
        level.front() = level.back() = -1;
        if (w.size() > 2) {
            std::vector<Unit> u;
            u.reserve(w.size());
            for (const Point& p : w) u.push_back({static_cast<float>(p.x / kBoxSize), static_cast<float>(p.y / kBoxSize)});
            markSplits(u, 0, w.size() - 1, 0, level);
        }
        for (int l : level)
            for (int depth = l + 1; depth <= kStrokeSplits; ++depth) ++keptAt[depth];
    }
    int depth = kStrokeSplits;
    while (depth > 0 && keptAt[depth] > kCharacterPoints) --depth;
    Strokes out(strokes.size());
    for (size_t i = 0; i < whole.size(); ++i)
        for (size_t j = 0; j < whole[i].size(); ++j)
            if (levels[i][j] < depth) out[i].push_back(whole[i][j]);
    return out;
}

}  // namespace lumiko::hwr

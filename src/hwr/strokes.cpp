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

Strokes normaliseToBox(const Strokes& strokes) {
    double minX = std::numeric_limits<double>::max(), minY = minX;
    double maxX = std::numeric_limits<double>::lowest(), maxY = maxX;
    for (const Stroke& s : strokes)
        for (const Point& p : s) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
    if (minX > maxX) return strokes;  // no points at all
    const double extent = std::max(maxX - minX, maxY - minY);
    const double scale = extent > 0 ? kFill * kBoxSize / extent : 0;
    const double centreX = (minX + maxX) / 2, centreY = (minY + maxY) / 2;
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

void keepSplits(const std::vector<Unit>& u, size_t first, size_t last, int depth, std::vector<bool>& keep) {
    if (depth == kStrokeSplits || last - first < 2) return;
    const size_t best = splitPoint(u, first, last);
    if (best == first) return;
    keep[best] = true;
    keepSplits(u, first, best, depth + 1, keep);
    keepSplits(u, best, last, depth + 1, keep);
}

}  // namespace

Strokes keepShape(const Strokes& strokes) {
    Strokes out;
    out.reserve(strokes.size());
    for (const Stroke& s : strokes) {
        Stroke whole;
        whole.reserve(s.size());
        for (const Point& p : s) whole.push_back({std::round(p.x), std::round(p.y)});
        if (whole.size() <= 2) {
            out.push_back(std::move(whole));
            continue;
        }
        std::vector<Unit> u;
        u.reserve(whole.size());
        for (const Point& p : whole)
            u.push_back({static_cast<float>(p.x / kBoxSize), static_cast<float>(p.y / kBoxSize)});
        std::vector<bool> keep(whole.size(), false);
        keep.front() = keep.back() = true;
        keepSplits(u, 0, whole.size() - 1, 0, keep);
        Stroke t;
        for (size_t i = 0; i < whole.size(); ++i)
            if (keep[i]) t.push_back(whole[i]);
        out.push_back(std::move(t));
    }
    return out;
}

}  // namespace lumiko::hwr

// Bounding-box normalisation of handwritten strokes.
#include "hwr/strokes.h"

#include <algorithm>
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

}  // namespace lumiko::hwr

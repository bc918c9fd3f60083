// Classifying drawn strokes into the five stroke classes.
#include "hwr/strokeclass.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace lumiko::hwr {

namespace {

constexpr double kPi = std::numbers::pi;
// Shorter than this share of the character: a dot, whichever way it went.
constexpr double kDotShare = 0.04;
// The wobble a hand leaves on a straight line, as a share of the character.
constexpr double kWobbleShare = 0.035;
// The points a stroke is looked at in.
constexpr size_t kSmoothPoints = 40;
// A lead-in: a first part shorter than this share of the character that
// turns into the stroke (a brush's entry; a pen touching down early).
constexpr double kLeadInShare = 0.1;
constexpr double kLeadInTurn = 30;  // degrees
// A hook: a last part shorter than this share of the stroke that turns
// away from it. On a vertical, a hook back to the left keeps the class
// (亅); any other hook makes a turning stroke (the hooks of 戈 and 心, 冖,
// the rising end of 纟's first stroke), except a horizontal's short dip.
constexpr double kHookShare = 0.4;
constexpr double kBendShare = 0.5;
constexpr double kHookTurn = 60;
constexpr double kDipShare = 0.15;
constexpr double kDipTurn = 100;
// A corner: a turn of at least this many degrees between two pieces that
// are each at least kPieceShare of the stroke; or a curve that turns this
// much in all, to the left (乚 drawn round), or kFallingCurveTurn to the
// right.
constexpr double kCornerTurn = 55;
constexpr double kPieceShare = 0.15;
constexpr double kCurveTurn = 70;
constexpr double kFallingCurveTurn = 110;
// A vertical whose last part leans left by this much is a left-falling
// stroke (the long one of 月 or 尸).
constexpr double kTailShare = 0.35;
constexpr double kTailLean = 20;

double length(Point a, Point b) { return std::hypot(b.x - a.x, b.y - a.y); }

// The angle in degrees (-180 to 180] between the directions of a->b and b->c.
double turn(Point a, Point b, Point c) {
    const double a1 = std::atan2(b.y - a.y, b.x - a.x), a2 = std::atan2(c.y - b.y, c.x - b.x);
    double d = (a2 - a1) * 180 / kPi;
    while (d > 180) d -= 360;
    while (d <= -180) d += 360;
    return d;
}

double pathLength(const std::vector<Point>& line) {
    double total = 0;
    for (size_t i = 1; i < line.size(); ++i) total += length(line[i - 1], line[i]);
    return total;
}

// Douglas-Peucker: the corners of the line that stand out of the wobble.
void simplify(const std::vector<Point>& s, size_t first, size_t last, double tolerance, std::vector<size_t>& keep) {
    double worst = 0;
    size_t at = first;
    const Point a = s[first], b = s[last];
    const double ab = length(a, b);
    for (size_t i = first + 1; i < last; ++i) {
        const Point p = s[i];
        const double d = ab > 0 ? std::abs((b.x - a.x) * (a.y - p.y) - (a.x - p.x) * (b.y - a.y)) / ab : length(a, p);
        if (d > worst) {
            worst = d;
            at = i;
        }
    }
    if (worst <= tolerance) return;
    simplify(s, first, at, tolerance, keep);
    keep.push_back(at);
    simplify(s, at, last, tolerance, keep);
}

// The class of a straight line from a to b.
char direction(Point a, Point b) {
    const double dx = b.x - a.x, dy = b.y - a.y;  // y grows downwards
    const double flat = std::tan(25 * kPi / 180);
    if (dx > 0 && dy <= std::tan(15 * kPi / 180) * dx) return '1';  // horizontal, or rising
    if (dx < 0 && std::abs(dy) <= (dy > 0 ? 0.12 : flat) * -dx) return '1';  // horizontal from the right
    if (std::abs(dx) <= flat * std::abs(dy)) return '2';                    // vertical, either way
    if (dx < 0 && dy > 0) return '3';  // falling to the left, flat ones too
    return '4';  // falling to the right, or that drawn backwards
}

// The point `share` of the way along the line, from its end backwards.
Point fromEnd(const std::vector<Point>& line, double share) {
    double left = share * pathLength(line);
    for (size_t i = line.size() - 1; i > 0; --i) {
        const double piece = length(line[i - 1], line[i]);
        if (piece >= left && piece > 0) {
            const double f = left / piece;
            return {line[i].x + (line[i - 1].x - line[i].x) * f, line[i].y + (line[i - 1].y - line[i].y) * f};
        }
        left -= piece;
    }
    return line.front();
}

// The line at `count` points evenly spaced along it, each averaged with its
// neighbours: the jitter of a hand goes, the corners stay.
std::vector<Point> smooth(const Stroke& line, size_t count) {
    const double total = pathLength(line);
    std::vector<Point> even{line.front()};
    double walked = 0, next = total / static_cast<double>(count - 1);
    for (size_t i = 1; i < line.size() && even.size() + 1 < count; ++i) {
        const double piece = length(line[i - 1], line[i]);
        while (piece > 0 && walked + piece >= next && even.size() + 1 < count) {
            const double f = (next - walked) / piece;
            even.push_back({line[i - 1].x + (line[i].x - line[i - 1].x) * f, line[i - 1].y + (line[i].y - line[i - 1].y) * f});
            next += total / static_cast<double>(count - 1);
        }
        walked += piece;
    }
    even.push_back(line.back());
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<Point> out = even;
        for (size_t i = 1; i + 1 < even.size(); ++i)
            out[i] = {(even[i - 1].x + 2 * even[i].x + even[i + 1].x) / 4, (even[i - 1].y + 2 * even[i].y + even[i + 1].y) / 4};
        even = std::move(out);
    }
    return even;
}

}  // namespace

char classifyStroke(const Stroke& stroke, double extent) {
    if (stroke.empty()) return '4';
    if (!(extent > 0)) extent = 1;
    if (pathLength(stroke) < kDotShare * extent) return '4';

    const std::vector<Point> line = smooth(stroke, kSmoothPoints);
    std::vector<size_t> keep{0};
    simplify(line, 0, line.size() - 1, kWobbleShare * extent, keep);
    keep.push_back(line.size() - 1);
    std::vector<Point> corners;
    for (size_t i : keep)
        if (corners.empty() || length(corners.back(), line[i]) > 0) corners.push_back(line[i]);
    if (corners.size() < 2) return '4';

    // A last piece within the wobble is no part of the stroke's shape.
    if (corners.size() >= 3 && length(corners[corners.size() - 2], corners.back()) < kWobbleShare * extent)
        corners.pop_back();
    // The lead-in: the longest head that is short and turns into the rest.
    for (size_t k = corners.size() - 2; k >= 1 && corners.size() >= 3; --k) {
        const double head = pathLength(std::vector<Point>(corners.begin(), corners.begin() + k + 1));
        if (head >= kLeadInShare * extent) continue;
        if (std::abs(turn(corners[0], corners[k], corners.back())) > kLeadInTurn) {
            corners.erase(corners.begin(), corners.begin() + k);
            break;
        }
    }
    // The hook: the longest tail that is short and turns away from the rest.
    // A vertical may bend to the left over a longer tail (子).
    double hook = 0, hookShare = 0;  // how far the hook turns (clockwise positive), and its share
    const double all = pathLength(corners);
    for (size_t k = 1; k + 1 < corners.size(); ++k) {
        const double share = pathLength(std::vector<Point>(corners.begin() + k, corners.end())) / all;
        if (share >= kBendShare) continue;
        const double t = turn(corners[0], corners[k], corners.back());
        if (std::abs(t) <= kHookTurn) continue;
        if (share >= kHookShare && !(t > 0 && direction(corners[0], corners[k]) == '2')) continue;
        hook = t;
        hookShare = share;
        corners.resize(k + 1);
        break;
    }

    const double kept = pathLength(corners);
    double curve = 0;
    for (size_t i = 1; i + 1 < corners.size(); ++i) {
        const double t = turn(corners[i - 1], corners[i], corners[i + 1]);
        curve += t;
        if (std::abs(t) >= kCornerTurn && length(corners[i - 1], corners[i]) >= kPieceShare * kept &&
            length(corners[i], corners[i + 1]) >= kPieceShare * kept)
            return '5';
    }
    // A curve that turns left (乚) is a turning stroke; a left-falling
    // stroke curves the other way, and may curve a good deal.
    if (curve <= -kCurveTurn || curve >= kFallingCurveTurn) return '5';
    char c = direction(corners.front(), corners.back());
    if (c == '2') {
        // The tail of a left-falling stroke sweeps left; a vertical's does not.
        const Point tail = fromEnd(corners, kTailShare);
        const double dx = corners.back().x - tail.x, dy = corners.back().y - tail.y;
        if (dx < 0 && -dx > std::tan(kTailLean * kPi / 180) * std::abs(dy)) c = '3';
    }
    if (hook != 0) {
        if (c == '2') return hook > 0 ? '2' : '5';  // 亅 keeps its class; a foot to the right turns
        if (c == '1' && hookShare < kDipShare && std::abs(hook) <= kDipTurn) return '1';
        return '5';
    }
    return c;
}

std::string strokeCode(const Strokes& strokes) {
    const Bounds bounds = boundsOf(strokes);
    const double extent = bounds.empty() ? 1 : bounds.extent();
    std::string code;
    code.reserve(strokes.size());
    for (const Stroke& s : strokes) code += classifyStroke(s, extent);
    return code;
}

}  // namespace lumiko::hwr

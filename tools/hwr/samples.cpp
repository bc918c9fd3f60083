// Reading stroke samples and distorting them like mouse writing.
#include "samples.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <numbers>
#include <stdexcept>

namespace lumiko::hwr {

std::vector<Sample> readSamples(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::vector<Sample> out;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty()) continue;
        const size_t tab = line.find('\t');
        const auto doc = nlohmann::json::parse(line.substr(tab == std::string::npos ? line.size() : tab + 1), nullptr, false);
        if (tab == std::string::npos || doc.is_discarded() || !doc.is_array())
            throw std::runtime_error(path + ":" + std::to_string(number) + ": not CHARACTER<TAB>JSON strokes");
        Sample s{line.substr(0, tab), {}};
        for (const auto& stroke : doc) {
            Stroke points;
            for (const auto& p : stroke) points.push_back({p.at(0).get<double>(), p.at(1).get<double>()});
            s.strokes.push_back(std::move(points));
        }
        out.push_back(std::move(s));
    }
    return out;
}

Strokes distort(const Strokes& strokes, const Distortion& d, std::mt19937& random) {
    constexpr double kStep = 12;  // units between resampled points
    std::normal_distribution<double> wobble(0, d.jitter > 0 ? d.jitter : 1);
    std::uniform_real_distribution<double> unit(0, 1);
    const double angle = (unit(random) * 2 - 1) * d.maxRotation * std::numbers::pi / 180;
    const double scale = d.minScale + (1 - d.minScale) * unit(random);
    // The drawing shrinks around the square's middle, then moves by as much
    // as still keeps it inside.
    const double room = 512 * (1 - scale);
    const double shiftX = d.offCentre ? (unit(random) * 2 - 1) * room : 0;
    const double shiftY = d.offCentre ? (unit(random) * 2 - 1) * room : 0;
    const double c = std::cos(angle), s = std::sin(angle);
    auto place = [&](Point p) {
        const double x = p.x - 512, y = p.y - 512;
        Point q{512 + (x * c - y * s) * scale + shiftX, 512 + (x * s + y * c) * scale + shiftY};
        if (d.jitter > 0) {
            q.x += wobble(random);
            q.y += wobble(random);
        }
        q.x = std::clamp(q.x, 0.0, 1023.0);
        q.y = std::clamp(q.y, 0.0, 1023.0);
        return q;
    };
    Strokes out;
    for (const Stroke& stroke : strokes) {
        Stroke t;
        for (size_t i = 0; i < stroke.size(); ++i) {
            if (i == 0) {
                t.push_back(place(stroke[0]));
                continue;
            }
            const Point a = stroke[i - 1], b = stroke[i];
            const int steps = std::max(1, static_cast<int>(std::hypot(b.x - a.x, b.y - a.y) / kStep));
            for (int k = 1; k <= steps; ++k)
                t.push_back(place({a.x + (b.x - a.x) * k / steps, a.y + (b.y - a.y) * k / steps}));
        }
        out.push_back(std::move(t));
    }
    return out;
}

}  // namespace lumiko::hwr

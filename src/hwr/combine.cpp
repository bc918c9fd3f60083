// Weighing zinnia's shape scores against stroke distances.
#include "hwr/combine.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace lumiko::hwr {

namespace {
// How many of the stroke index's nearest characters join zinnia's.
constexpr size_t kStrokeCandidates = 60;
}  // namespace

std::vector<Evidence> gather(const std::vector<ShapeCandidate>& shape, std::string_view drawn,
                             const StrokeIndex& index, std::vector<StrokeMatch>& near,
                             const CharacterSet* shapeModel) {
    std::vector<Evidence> all;
    std::unordered_set<std::string_view> seen;
    for (const ShapeCandidate& c : shape) {
        if (!seen.insert(c.character).second) continue;
        double d = index.distanceOf(c.character, drawn);
        // A character the table lacks (not a GBK character): as far as a
        // whole drawing of strokes.
        if (d < 0) d = static_cast<double>(drawn.size());
        all.push_back({c.character, true, true, c.score, d, index.rankOf(c.character)});
    }
    near = index.nearest(drawn, kStrokeCandidates);
    for (const StrokeMatch& m : near)
        if (seen.insert(m.character).second)
            all.push_back({m.character, false, !shapeModel || shapeModel->count(m.character) > 0, 0, m.distance, m.rank});
    return all;
}

std::vector<std::string> rank(std::vector<Evidence> evidence, const std::vector<ShapeCandidate>& shape, size_t count,
                              const CombineWeights& weights) {
    const double unlisted = (shape.empty() ? 0 : shape.back().score) - weights.unlistedShape;
    const double unknown = unlisted + weights.unknownShape;
    std::vector<std::pair<double, size_t>> scored;
    scored.reserve(evidence.size());
    for (size_t i = 0; i < evidence.size(); ++i) {
        const Evidence& e = evidence[i];
        const double score = e.listed ? std::min(e.shape, unlisted + weights.shapeCap) : e.known ? unlisted : unknown;
        scored.emplace_back(weights.shape * score - weights.strokes * e.distance -
                                weights.frequency * std::log2(1.0 + e.rank),
                            i);
    }
    const size_t n = std::min(count, scored.size());
    // Ties keep the order gathered: zinnia's first, then the nearest strokes.
    std::partial_sort(scored.begin(), scored.begin() + static_cast<std::ptrdiff_t>(n), scored.end(),
                      [](const auto& a, const auto& b) { return a.first != b.first ? a.first > b.first : a.second < b.second; });
    std::vector<std::string> out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) out.emplace_back(evidence[scored[i].second].character);
    return out;
}

std::vector<std::string> combine(const std::vector<ShapeCandidate>& shape, std::string_view drawn,
                                 const StrokeIndex& index, size_t count, const CombineWeights& weights,
                                 const CharacterSet* shapeModel) {
    std::vector<StrokeMatch> near;
    std::vector<Evidence> evidence = gather(shape, drawn, index, near, shapeModel);
    return rank(std::move(evidence), shape, count, weights);
}

}  // namespace lumiko::hwr

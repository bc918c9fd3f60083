// The weighted edit distance between stroke-class sequences, and the index
// of the stroke table.
#include "hwr/strokematch.h"

#include <algorithm>
#include <limits>

namespace lumiko::embedded {
extern const unsigned char hwrStrokeTable[];
extern const std::size_t hwrStrokeTable_size;
}  // namespace lumiko::embedded

namespace lumiko::hwr {

namespace {

// The cost of drawing class a (row) where the character has class b
// (column), '1' to '5': about -ln P(a drawn | b written) / 6, at most 1,
// from how the stroke classifier read the tuning characters (make
// hwr-tune). A steep dot reads as a vertical, a right-falling stroke's flat
// tail as a horizontal, a turn drawn round as no turn.
constexpr double kSubstitute[5][5] = {
    {0.0, 0.97, 1.0, 0.63, 1.0},
    {1.0, 0.0, 0.53, 0.38, 0.52},
    {1.0, 0.6, 0.0, 0.64, 0.94},
    {0.82, 0.6, 1.0, 0.0, 0.78},
    {0.61, 0.59, 0.55, 0.54, 0.0},
};
// A stroke drawn that the character does not have, or the other way round.
constexpr double kExtra = 1.0;
constexpr double kExtraDot = 0.8;
// A turning stroke drawn as two strokes, or two strokes drawn in one go.
constexpr double kSplitTurn = 0.6;

double substitute(char a, char b) {
    const int i = a - '1', j = b - '1';
    if (i < 0 || i > 4 || j < 0 || j > 4) return a == b ? 0 : 1;
    return kSubstitute[i][j];
}
// Two strokes that a turning stroke falls into: two straight ones of
// different classes (横折 as a horizontal and a vertical).
bool turnParts(char a, char b) { return a != b && a != '5' && b != '5'; }

double extra(char c) { return c == '4' ? kExtraDot : kExtra; }

bool isCode(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '1' || c > '5') return false;
    return true;
}

}  // namespace

double strokeDistance(std::string_view drawn, std::string_view code) {
    return boundedStrokeDistance(drawn, code, std::numeric_limits<double>::infinity());
}

double boundedStrokeDistance(std::string_view drawn, std::string_view code, double limit) {
    const size_t n = drawn.size(), m = code.size();
    constexpr size_t kMax = 64;
    if (n >= kMax || m >= kMax) {
        // Longer than any character: compared by length only.
        return std::abs(static_cast<double>(n) - static_cast<double>(m));
    }
    // Three rows of the table (a turning stroke drawn as two looks two rows
    // back): row i holds the best cost of drawn[0,i) against code[0,j).
    double rows[3][kMax];
    double* before = rows[0];  // row i - 2
    double* last = rows[1];    // row i - 1
    double* row = rows[2];     // row i
    last[0] = 0;
    for (size_t j = 1; j <= m; ++j) last[j] = last[j - 1] + extra(code[j - 1]);
    for (size_t i = 1; i <= n; ++i) {
        row[0] = last[0] + extra(drawn[i - 1]);
        double least = row[0];
        for (size_t j = 1; j <= m; ++j) {
            double best = last[j - 1] + substitute(drawn[i - 1], code[j - 1]);
            best = std::min(best, last[j] + extra(drawn[i - 1]));
            best = std::min(best, row[j - 1] + extra(code[j - 1]));
            if (i >= 2 && code[j - 1] == '5' && turnParts(drawn[i - 2], drawn[i - 1]))
                best = std::min(best, before[j - 1] + kSplitTurn);
            if (j >= 2 && drawn[i - 1] == '5' && turnParts(code[j - 2], code[j - 1]))
                best = std::min(best, last[j - 2] + kSplitTurn);
            row[j] = best;
            least = std::min(least, best);
        }
        // Every later cell costs at least as much as the cheapest of this row
        // and the one before (a turning stroke drawn as two looks back to it).
        if (least > limit && *std::min_element(last, last + m + 1) > limit) return least;
        double* spare = before;
        before = last;
        last = row;
        row = spare;
    }
    return last[m];
}

StrokeIndex::StrokeIndex(std::string_view table) {
    // The codes are copied into one string, so views stay valid.
    text_.reserve(table.size());
    struct Line {
        size_t codeAt, codeSize;
        std::string_view character;
    };
    std::vector<Line> lines;
    while (!table.empty()) {
        const size_t end = table.find('\n');
        std::string_view line = table.substr(0, end);
        table.remove_prefix(end == std::string_view::npos ? table.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const size_t space = line.find(' ');
        if (space == std::string_view::npos) continue;
        const std::string_view code = line.substr(0, space), character = line.substr(space + 1);
        if (!isCode(code) || character.empty() || character.find(' ') != std::string_view::npos) continue;
        lines.push_back({text_.size(), code.size(), character});
        text_.append(code);
    }
    std::unordered_map<std::string, uint32_t> seen;
    std::vector<uint32_t> ids;
    ids.reserve(lines.size());
    for (const Line& l : lines) {
        auto [it, added] = seen.try_emplace(std::string(l.character), static_cast<uint32_t>(characters_.size()));
        if (added) characters_.emplace_back(l.character);
        ids.push_back(it->second);
    }
    codesOf_.resize(characters_.size());
    for (size_t i = 0; i < characters_.size(); ++i) byCharacter_.emplace(characters_[i], static_cast<uint32_t>(i));
    for (size_t k = 0; k < lines.size(); ++k) {
        const std::string_view code(text_.data() + lines[k].codeAt, lines[k].codeSize);
        if (byLength_.size() <= code.size()) byLength_.resize(code.size() + 1);
        byLength_[code.size()].push_back({code, ids[k]});
        codesOf_[ids[k]].push_back(code);
    }
}

const StrokeIndex& StrokeIndex::builtin() {
    static const StrokeIndex index(std::string_view(reinterpret_cast<const char*>(embedded::hwrStrokeTable),
                                                    embedded::hwrStrokeTable_size));
    return index;
}

std::vector<StrokeMatch> StrokeIndex::nearest(std::string_view drawn, size_t count, double maxDistance) const {
    std::vector<double> best(characters_.size(), std::numeric_limits<double>::infinity());
    std::vector<uint32_t> touched;
    if (count == 0) return {};
    // The `count` smallest distances found so far (a max-heap): once there
    // are that many, nothing further away is worth finishing.
    std::vector<double> nearestSoFar;
    double limit = maxDistance;
    const size_t n = drawn.size();
    // Codes of the drawing's length first, then one stroke longer and
    // shorter, and so on: the near ones are found early. Every stroke of
    // length difference costs at least an extra dot.
    for (size_t step = 0; static_cast<double>(step) * kExtraDot <= limit; ++step) {
        for (int side = 0; side < (step ? 2 : 1); ++side) {
            if (side == 0 && step > n) continue;
            const size_t len = side == 0 ? n - step : n + step;
            if (len == 0 || len >= byLength_.size()) continue;
            for (const Entry& e : byLength_[len]) {
                const double d = boundedStrokeDistance(drawn, e.code, limit);
                if (d > limit) continue;
                if (best[e.character] == std::numeric_limits<double>::infinity()) touched.push_back(e.character);
                best[e.character] = std::min(best[e.character], d);
                nearestSoFar.push_back(d);
                std::push_heap(nearestSoFar.begin(), nearestSoFar.end());
                if (nearestSoFar.size() > count) {
                    std::pop_heap(nearestSoFar.begin(), nearestSoFar.end());
                    nearestSoFar.pop_back();
                }
                if (nearestSoFar.size() == count) limit = std::min(limit, nearestSoFar.front());
            }
        }
    }
    std::sort(touched.begin(), touched.end(), [&](uint32_t a, uint32_t b) {
        return best[a] != best[b] ? best[a] < best[b] : a < b;
    });
    if (touched.size() > count) touched.resize(count);
    std::vector<StrokeMatch> out;
    out.reserve(touched.size());
    for (uint32_t id : touched) out.push_back({characters_[id], best[id], id});
    return out;
}

double StrokeIndex::distanceOf(std::string_view character, std::string_view drawn) const {
    const auto it = byCharacter_.find(character);
    if (it == byCharacter_.end()) return -1;
    double best = std::numeric_limits<double>::infinity();
    for (std::string_view code : codesOf_[it->second]) best = std::min(best, strokeDistance(drawn, code));
    return best;
}

std::vector<std::string_view> StrokeIndex::codesOf(std::string_view character) const {
    const auto it = byCharacter_.find(character);
    return it == byCharacter_.end() ? std::vector<std::string_view>{} : codesOf_[it->second];
}

uint32_t StrokeIndex::rankOf(std::string_view character) const {
    const auto it = byCharacter_.find(character);
    return it == byCharacter_.end() ? static_cast<uint32_t>(characters_.size()) : it->second;
}

}  // namespace lumiko::hwr

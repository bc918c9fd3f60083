// Clicks per character: a model of the panel's clicks in stroke mode over a
// text, with the shipped order and with learning (the pick memory learning
// from the text as it is typed). A character costs the fewer of: the pick
// from the associations offered after a stroke-typed character (pages
// flipped, then the pick), or its strokes one by one until it shows (each
// stroke a click), the pages flipped to it and the pick. Word hints are
// left out. Usage: lumiko-clicks STROKE_TABLE ASSOCIATION_TABLE TEXT_GBK
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <unordered_map>

#include "app/learning.h"
#include "engine/pagedlist.h"
#include "engine/pickmemory.h"

using namespace lumiko;

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The whole shipped list for a code, as the grid pages it, with where each
// item stands.
struct Shipped {
    CandidateList items;
    std::unordered_map<Text, int> firstOf;  // text -> first position
    std::unordered_map<Text, int> line;     // key TAB text -> position
};

class Lists {
public:
    explicit Lists(const SharedText& table) : table_(table) {}
    const Shipped& get(const Text& code) {
        auto it = cache_.find(code);
        if (it != cache_.end()) return it->second;
        Shipped s;
        PagedList list;
        CandidatePage page;
        runPagedList(table_, code, 30, list, page, 0, 0);
        s.items = page.items;
        while (page.hasNext && runPagedList(table_, code, 30, list, page, 1, 0))
            s.items.insert(s.items.end(), page.items.begin(), page.items.end());
        for (size_t i = 0; i < s.items.size(); ++i) {
            s.firstOf.try_emplace(s.items[i].text, static_cast<int>(i));
            s.line.try_emplace(s.items[i].key + "\t" + s.items[i].text, static_cast<int>(i));
        }
        return cache_.emplace(code, std::move(s)).first->second;
    }

private:
    const SharedText& table_;
    std::unordered_map<Text, Shipped> cache_;
};

// Where `c` stands in the list for `code` once the memory has put the texts
// picked before first (a stable order by count): -1 when it is not listed.
int rank(Lists& lists, const PickMemory* memory, char tag, const Text& code, const Text& c, Text* key) {
    const Shipped& s = lists.get(code);
    const auto at = s.firstOf.find(c);
    if (at == s.firstOf.end()) return -1;
    const int pos = at->second;
    if (key) *key = s.items[static_cast<size_t>(pos)].key;
    if (!memory) return pos;
    const int own = memory->count(tag, s.items[static_cast<size_t>(pos)].key, c);
    int ahead = 0, rememberedBefore = 0;
    memory->forEachUnder(tag, code, [&](std::string_view k, std::string_view t, int n) {
        const auto l = s.line.find(Text(k) + "\t" + Text(t));
        if (l == s.line.end()) return;
        const int p = l->second;
        if (p == pos) return;
        if (n > own || (n == own && p < pos)) ++ahead;
        if (p < pos) ++rememberedBefore;
    });
    return own > 0 ? ahead : ahead + pos - rememberedBefore;
}

struct Tally {
    long clicks = 0, chars = 0;
    double perChar() const { return chars ? static_cast<double>(clicks) / static_cast<double>(chars) : 0; }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: lumiko-clicks STROKE_TABLE ASSOCIATION_TABLE TEXT_GBK\n");
        return 2;
    }
    const std::string strokeBytes = readAll(argv[1]), associationBytes = readAll(argv[2]), text = readAll(argv[3]);
    if (strokeBytes.empty() || associationBytes.empty() || text.empty()) {
        std::fprintf(stderr, "lumiko-clicks: cannot read %s, %s or %s\n", argv[1], argv[2], argv[3]);
        return 1;
    }
    const SharedText strokes(strokeBytes + "\r\n"), associations(associationBytes + "\r\n");
    // Each character's full stroke code: its first line in the table.
    std::unordered_map<Text, Text> codeOf;
    const std::string_view t = strokes;
    for (size_t start = 0; start < t.size();) {
        size_t end = t.find("\r\n", start);
        if (end == std::string_view::npos) end = t.size();
        const std::string_view line = t.substr(start, end - start);
        const size_t space = line.find(' ');
        if (space != std::string_view::npos && line.size() == space + 3)
            codeOf.try_emplace(Text(line.substr(space + 1)), Text(line.substr(0, space)));
        start = end + 2;
    }

    for (const bool learning : {false, true}) {
        Lists strokeLists(strokes), associationLists(associations);
        PickMemory memory;
        Text lastKey, previous;
        bool offered = false;  // the associations of `previous` are shown
        Tally whole, secondHalf;
        for (size_t i = 0; i + 1 < text.size();) {
            const auto lead = static_cast<unsigned char>(text[i]);
            if (lead < 0x81) {
                ++i;
                offered = false;
                continue;
            }
            const Text c = text.substr(i, 2);
            const bool late = i >= text.size() / 2;
            i += 2;
            const auto code = codeOf.find(c);
            if (code == codeOf.end()) {
                offered = false;
                continue;
            }
            const PickMemory* m = learning ? &memory : nullptr;
            long best = std::numeric_limits<long>::max();
            CommitEvent event{c, picklist::kStroke, {}};
            if (offered) {
                Text key;
                const int r = rank(associationLists, m, picklist::kAssociation, previous, c, &key);
                if (r >= 0) {
                    best = r / 30 + 1;
                    event = CommitEvent{c, picklist::kAssociation, key};
                }
            }
            bool byStrokes = false;
            for (size_t k = 1; k <= code->second.size(); ++k) {
                Text key;
                const int r = rank(strokeLists, m, picklist::kStroke, code->second.substr(0, k), c, &key);
                if (r < 0) continue;
                const long cost = static_cast<long>(k) + r / 30 + 1;
                if (cost < best) {
                    best = cost;
                    byStrokes = true;
                    event = CommitEvent{c, picklist::kStroke, key};
                }
                if (r < 30) break;
            }
            if (best == std::numeric_limits<long>::max()) {
                offered = false;
                continue;
            }
            whole.clicks += best;
            ++whole.chars;
            if (late) {
                secondHalf.clicks += best;
                ++secondHalf.chars;
            }
            if (learning) Learning::count(memory, lastKey, event);
            previous = c;
            offered = byStrokes;  // after an association pick the default list returns
        }
        std::printf("%-14s %8ld characters  %.3f clicks per character  (second half %.3f)\n",
                    learning ? "with learning" : "shipped order", whole.chars, whole.perChar(), secondHalf.perChar());
    }
    return 0;
}

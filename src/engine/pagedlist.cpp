#include "engine/pagedlist.h"

#include <algorithm>

namespace lumiko {

namespace {
// The value, followed by the part of its key the code did not cover: a line
// is skipped when this already stands in an item of the page.
Text duplicateProbe(std::string_view code, std::string_view key, std::string_view value) {
    Text probe(value);
    if (key.size() > code.size()) probe.append(key.substr(code.size()));
    return probe;
}

// A line of the format whose key and value hold no stray line-break byte:
// its probe then has no blank or break in it and can only stand inside one
// item, never across the blank or row break between two.
bool noBreak(std::string_view s) {
    for (const char c : s)
        if (c == '\r' || c == '\n') return false;
    return true;
}

bool readLine(std::string_view table, int p, std::string_view& key, std::string_view& value) {
    return readTableLine(table, p, key, value) && noBreak(key) && noBreak(value);
}

// The page being built: its items, and their texts side by side (each
// followed by a blank) for the duplicate probe.
struct PageBuilder {
    CandidateList& items;
    Text joined;
    PageBuilder(CandidateList& page, int perPage) : items(page) {
        items.reserve(items.size() + static_cast<size_t>(std::max(perPage, 0)));
        joined.reserve(64);
        for (const Candidate& c : items) joined.append(c.text).push_back(' ');
    }
    bool holds(std::string_view probe) const { return findText(joined, probe) != -1; }
    void add(std::string_view key, std::string_view value) {
        items.push_back(Candidate{Text(value), Text(key)});
        joined.append(value).push_back(' ');
    }
};
}  // namespace

void buildPageLineByLine(const SharedText& table, std::string_view code, int perPage, CandidateList& items,
                         int& searchPos, int from) {
    PageBuilder page(items, perPage);
    int n = 1;
    int p = table.findLine(code, from);
    searchPos = p;
    while (p != -1) {
        std::string_view key, value;
        if (readLine(table, p, key, value) && !page.holds(duplicateProbe(code, key, value))) {
            if (n > perPage) {
                searchPos = p;
                break;
            }
            page.add(key, value);
            ++n;
        }
        p = table.findLine(code, p + 1);
        searchPos = p;
    }
}

// The same page without reading the lines that cannot change it. The page
// only grows while it is built, so a line whose key and value were already
// met since the page began is again a duplicate, unless it was taken and its
// key is longer than the code (its probe then holds bytes the page may
// lack): those few are followed one by one, every other repeat is passed
// over through the line group's repeat links. Lines outside the format are
// passed over the same way. A page thus costs the distinct lines that begin
// with the code's first byte, not every repeat of them.
void buildPage(const SharedText& table, std::string_view code, int perPage, CandidateList& items, int& searchPos,
               int from) {
    if (code.empty() || code.find_first_of(" \r\n") != std::string_view::npos) {
        buildPageLineByLine(table, code, perPage, items, searchPos, from);
        return;
    }
    PageBuilder page(items, perPage);
    const std::string_view whole = table;
    const LineGroup& group = table.index().group(static_cast<unsigned char>(code[0]));
    const int since = static_cast<int>(std::lower_bound(group.at.begin(), group.at.end(), std::max(from, 1)) -
                                       group.at.begin());
    std::vector<int> followed;  // next repeat of each line taken with a longer key
    int n = 1;
    searchPos = -1;
    for (int k = since;;) {
        int j = group.nextUnrepeated(k, since);
        size_t via = followed.size();
        for (size_t f = 0; f < followed.size(); ++f)
            if (j == -1 || followed[f] < j) {
                j = followed[f];
                via = f;
            }
        if (j == -1) break;
        k = j + 1;
        const int p = group.at[static_cast<size_t>(j)];
        const auto start = static_cast<size_t>(p) + 1;  // the line's first byte, from 0
        std::string_view key, value;
        if (whole.compare(start, code.size(), code) != 0 || !readLine(whole, p, key, value)) continue;
        const bool taken = !page.holds(duplicateProbe(code, key, value));
        if (taken && n > perPage) {
            searchPos = p;
            break;
        }
        if (taken) {
            page.add(key, value);
            ++n;
        }
        const int repeat = group.nextOf(j);
        if (taken && key.size() > code.size() && repeat != -1) {
            if (via == followed.size()) followed.push_back(repeat);
            else followed[via] = repeat;
        } else if (via != followed.size()) {
            followed.erase(followed.begin() + static_cast<std::ptrdiff_t>(via));
        }
    }
}

namespace {
// Every item of the list for `code`, page after page as the shipped order
// shows them (each page's duplicates skipped as on that page). Bounded, so
// that a hostile table cannot make a list without end.
CandidateList wholeList(const SharedText& table, std::string_view code, int perPage) {
    constexpr size_t kMaxItems = 20000;
    CandidateList all, page;
    int searchPos = -1;
    buildPage(table, code, perPage, all, searchPos, 1);
    while (searchPos != -1 && all.size() < kMaxItems) {
        const int p = table.findLine(code, searchPos);
        if (p == -1) break;
        page.clear();
        buildPage(table, code, perPage, page, searchPos, p);
        if (page.empty()) break;
        all.insert(all.end(), page.begin(), page.end());
    }
    return all;
}

CandidateList slice(const CandidateList& all, int page, int perPage) {
    const auto from = static_cast<size_t>(page) * static_cast<size_t>(perPage);
    if (from >= all.size()) return {};
    const size_t to = std::min(all.size(), from + static_cast<size_t>(perPage));
    return CandidateList(all.begin() + static_cast<std::ptrdiff_t>(from), all.begin() + static_cast<std::ptrdiff_t>(to));
}
}  // namespace

bool runPagedList(const SharedText& table, std::string_view code, int perPage, PagedList& s, CandidatePage& shown,
                  int paging, int backward, const CandidateOrder* order) {
    auto flags = [&] {
        shown.hasPrevious = s.pageIndex > 0;
        shown.hasNext = s.pageIndex < static_cast<int>(s.history.size()) ||
                        (s.reordered ? slice(s.ordered, s.pageIndex + 1, perPage).size() > 0 : s.searchPos != -1);
    };
    if (code.empty()) {
        shown.items.clear();
        s.reordered = false;
        s.ordered.clear();
        flags();
        shown.hasNext = false;
        return true;
    }
    auto rebuildFirstPage = [&] {
        s.pageIndex = 0;
        shown.items.clear();
        if (s.reordered) {
            shown.items = slice(s.ordered, 0, perPage);
            s.searchPos = -1;
        } else {
            buildPage(table, code, perPage, shown.items, s.searchPos, 1);
        }
        s.history.clear();
        s.pageIndex = 0;
    };
    bool changed = true;
    if (paging == 0) {
        s.reordered = order != nullptr && order->reorders(code);
        s.ordered.clear();
        if (s.reordered) {
            s.ordered = wholeList(table, code, perPage);
            order->reorder(s.ordered);
        }
        rebuildFirstPage();
    } else if (backward == 0) {
        if (s.pageIndex < static_cast<int>(s.history.size())) {
            ++s.pageIndex;
            shown.items = s.history[static_cast<size_t>(s.pageIndex - 1)];
        } else if (s.reordered) {
            CandidateList next = slice(s.ordered, s.pageIndex + 1, perPage);
            if (!next.empty()) {
                shown.items = std::move(next);
                s.history.push_back(shown.items);
                s.pageIndex = static_cast<int>(s.history.size());
            } else {
                changed = false;
            }
        } else if (s.searchPos != -1) {
            // Past the last page the list stays where it is, rather than
            // starting over or storing the same page twice.
            const int p = table.findLine(code, s.searchPos);
            if (p != -1) {
                shown.items.clear();
                buildPage(table, code, perPage, shown.items, s.searchPos, p);
                s.history.push_back(shown.items);
                s.pageIndex = static_cast<int>(s.history.size());
            } else {
                changed = false;
            }
        } else {
            changed = false;
        }
    } else {
        if (s.pageIndex > 1) {
            --s.pageIndex;
            shown.items = s.history[static_cast<size_t>(s.pageIndex - 1)];
        } else if (s.pageIndex == 1) {
            rebuildFirstPage();
        } else {
            changed = false;
        }
    }
    flags();
    return changed;
}

}  // namespace lumiko

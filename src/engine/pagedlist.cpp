#include "engine/pagedlist.h"

#include <algorithm>

namespace lumiko {

namespace {
// The value, followed by the part of its key the code did not cover: a line
// is skipped when this already stands on the page.
Text duplicateProbe(std::string_view code, std::string_view key, std::string_view value) {
    Text probe(value);
    if (key.size() > code.size()) probe.append(key.substr(code.size()));
    return probe;
}

void appendItem(Text& text, std::string_view value, int n, const PageLayout& layout) {
    text.append(value);
    text.append(layout.rows && (n == 8 || n == 16 || n == 24) ? " \r\n" : " ");
}
}  // namespace

void buildPageLineByLine(const SharedText& table, std::string_view code, const PageLayout& layout,
                         Text& text, int& searchPos, int from) {
    int n = 1;
    int p = table.findLine(code, from);
    searchPos = p;
    while (p != -1) {
        std::string_view key, value;
        if (readTableLine(table, p, key, value) && findText(text, duplicateProbe(code, key, value)) == -1) {
            if (n > layout.perPage) {
                searchPos = p;
                break;
            }
            appendItem(text, value, n, layout);
            ++n;
        }
        p = table.findLine(code, p + 1);
        searchPos = p;
    }
    if (!text.empty()) text.push_back(' ');
}

// The same page without reading the lines that cannot change it. The page
// text only grows while it is built, so a line whose key and value were
// already met since the page began is again a duplicate, unless it was
// taken and its key is longer than the code (its probe then holds bytes the
// page may lack): those few are followed one by one, every other repeat is
// passed over through the line group's repeat links. Lines outside the
// format are passed over the same way. A page thus costs the distinct lines
// that begin with the code's first byte, not every repeat of them.
void buildPage(const SharedText& table, std::string_view code, const PageLayout& layout, Text& text,
               int& searchPos, int from) {
    if (code.empty() || code.find_first_of(" \r\n") != std::string_view::npos) {
        buildPageLineByLine(table, code, layout, text, searchPos, from);
        return;
    }
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
        if (whole.compare(start, code.size(), code) != 0 || !readTableLine(whole, p, key, value)) continue;
        const bool taken = findText(text, duplicateProbe(code, key, value)) == -1;
        if (taken && n > layout.perPage) {
            searchPos = p;
            break;
        }
        if (taken) {
            appendItem(text, value, n, layout);
            ++n;
        }
        const int repeat = group.next[static_cast<size_t>(j)];
        if (taken && key.size() > code.size() && repeat != -1) {
            if (via == followed.size()) followed.push_back(repeat);
            else followed[via] = repeat;
        } else if (via != followed.size()) {
            followed.erase(followed.begin() + static_cast<std::ptrdiff_t>(via));
        }
    }
    if (!text.empty()) text.push_back(' ');
}

void runPagedList(const SharedText& table, std::string_view code, const PageLayout& layout,
                  PageState s, int paging, int backward) {
    if (code.empty()) {
        s.text.clear();
        return;
    }
    auto rebuildFirstPage = [&] {
        s.pageIndex = 0;
        s.text.clear();
        buildPage(table, code, layout, s.text, s.searchPos, 1);
        s.history.clear();
        s.pageIndex = 0;
    };
    if (paging == 0) {
        rebuildFirstPage();
    } else if (backward == 0) {
        if (s.pageIndex < static_cast<int>(s.history.size())) {
            ++s.pageIndex;
            s.text = s.history[static_cast<size_t>(s.pageIndex - 1)];
        } else if (s.searchPos != -1) {
            // Past the last page the list stays where it is, rather than
            // starting over or storing the same page twice.
            const int p = table.findLine(code, s.searchPos);
            if (p != -1) {
                s.text.clear();
                buildPage(table, code, layout, s.text, s.searchPos, p);
                s.history.push_back(s.text);
                s.pageIndex = static_cast<int>(s.history.size());
            }
        }
    } else {
        if (s.pageIndex > 1) {
            --s.pageIndex;
            s.text = s.history[static_cast<size_t>(s.pageIndex - 1)];
        } else if (s.pageIndex == 1) {
            rebuildFirstPage();
        }
    }
}

}  // namespace lumiko

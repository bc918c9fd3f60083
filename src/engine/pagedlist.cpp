#include "engine/pagedlist.h"

namespace lumiko {

namespace {
constexpr std::string_view kLineBreak = "\r\n";

// Builds one page into `text` from the first match at or after `from`.
void buildPage(const SharedText& table, std::string_view code, const PageLayout& layout,
               Text& text, int& searchPos, int from) {
    int n = 1;
    int p = table.findLine(code, from);
    searchPos = p;
    while (p != -1) {
        std::string_view key, value;
        if (readTableLine(table, p, key, value)) {
            // A line is skipped when its value, followed by the part of its
            // key the code did not cover, already stands on the page.
            Text probe(value);
            if (key.size() > code.size()) probe.append(key.substr(code.size()));
            if (findText(text, probe) == -1) {
                if (n > layout.perPage) {
                    searchPos = p;
                    break;
                }
                text.append(value);
                text.append(layout.rows && (n == 8 || n == 16 || n == 24) ? " \r\n" : " ");
                ++n;
            }
        }
        p = table.findLine(code, p + 1);
        searchPos = p;
    }
    if (!text.empty()) text.push_back(' ');
}
}  // namespace

bool readTableLine(std::string_view table, int p, std::string_view& key, std::string_view& value) {
    const auto start = static_cast<size_t>(p - 1) + kLineBreak.size();
    if (p < 1 || start > table.size()) return false;
    const std::string_view window = table.substr(start, 200);
    const size_t end = window.find(kLineBreak);
    if (end == std::string_view::npos) return false;
    const std::string_view line = window.substr(0, end);
    const size_t space = line.find(' ');
    if (space == std::string_view::npos) return false;
    key = line.substr(0, space);
    value = line.substr(space + 1);
    value = value.substr(0, value.find(' '));
    return !value.empty();
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

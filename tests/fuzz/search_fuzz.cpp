// Candidate search and paging over any table text and code, checked against a
// plain search that follows the rules word for word: a byte search for
// "\r\n" + code from the last hit, lines read through a 200-byte window, the
// duplicate probe searched in the page, 30 items to a grid page (18 to a strip
// page), a page history for paging back. The word hints of the first
// candidate are checked against a plain pass over the lines.
#include <cstdlib>
#include <iostream>

#include "engine/pagedlist.h"
#include "engine/wordhints.h"
#include "platform/look.h"
#include "support/fuzz_input.h"

namespace {

// Whether lines whose key or value is not whole GBK are passed over (and in
// the word hints, lines that are not whole GBK, blanks in the word dropped).
constexpr bool kWholeGbkOnly = true;

// A list's page size and whether its page is drawn in the grid's rows.
struct PageLayout {
    int perPage;
    bool rows;
};
using lumiko::Text;

struct PagedState {
    Text text;
    int searchPos = 0;
    int pageIndex = 0;
    std::vector<Text> history;
    bool operator==(const PagedState&) const = default;
};

// Position (from 1) of "\r\n" + code at or after `from`, or -1.
int plainFind(const std::string& table, const std::string& code, int from) {
    if (from < 1) from = 1;
    const size_t at = table.find("\r\n" + code, static_cast<size_t>(from - 1));
    return at == std::string::npos ? -1 : static_cast<int>(at) + 1;
}

void plainPage(const std::string& table, const std::string& code, const PageLayout& layout, PagedState& s, int from) {
    int n = 1;
    int p = plainFind(table, code, from);
    s.searchPos = p;
    while (p != -1) {
        const std::string window = table.substr(static_cast<size_t>(p) + 1, 200);
        const size_t q = window.find("\r\n");
        bool wellFormed = false;
        std::string key, value;
        if (q != std::string::npos) {
            const std::string line = window.substr(0, q);
            const size_t space = line.find(' ');
            if (space != std::string::npos) {
                key = line.substr(0, space);
                const std::string after = line.substr(space + 1);
                value = after.substr(0, after.find(' '));
                // A stray line-break byte in the key or the value puts the
                // line outside the format too.
                wellFormed = !value.empty() && key.find_first_of("\r\n") == std::string::npos &&
                             value.find_first_of("\r\n") == std::string::npos &&
                             (!kWholeGbkOnly || (lumiko::isWholeGbk(key) && lumiko::isWholeGbk(value)));
            }
        }
        if (wellFormed) {
            const std::string probe = value + (key.size() > code.size() ? key.substr(code.size()) : "");
            if (s.text.find(probe) == std::string::npos) {
                if (n > layout.perPage) {
                    s.searchPos = p;
                    break;
                }
                s.text += value;
                s.text += layout.rows && (n == 8 || n == 16 || n == 24) ? " \r\n" : " ";
                ++n;
            }
        }
        p = plainFind(table, code, p + 1);
        s.searchPos = p;
    }
    if (!s.text.empty()) s.text += ' ';
}

void plainPaging(const std::string& table, const std::string& code, const PageLayout& layout, PagedState& s,
                 int paging, int backward) {
    if (code.empty()) {
        s.text.clear();
        return;
    }
    auto firstPage = [&] {
        s.text.clear();
        plainPage(table, code, layout, s, 1);
        s.history.clear();
        s.pageIndex = 0;
    };
    if (paging == 0) {
        firstPage();
    } else if (backward == 0) {
        if (s.pageIndex < static_cast<int>(s.history.size())) {
            s.text = s.history[static_cast<size_t>(s.pageIndex++)];
        } else if (s.searchPos != -1) {
            // past the last page the list stays where it is
            s.text.clear();
            plainPage(table, code, layout, s, s.searchPos);
            s.history.push_back(s.text);
            s.pageIndex = static_cast<int>(s.history.size());
        }
    } else if (s.pageIndex > 1) {
        s.text = s.history[static_cast<size_t>(--s.pageIndex - 1)];
    } else if (s.pageIndex == 1) {
        firstPage();
    }
}

// The two-character words offered for `first`: lines that are exactly it,
// one space and two more bytes (no line break; no blank, or with whole GBK
// the blanks dropped from the word), the first eight.
std::vector<Text> plainWordHints(const std::string& table, const Text& first) {
    std::vector<Text> words;
    for (const std::string_view line : lumiko::fuzz::splitLines(table)) {
        if (words.size() == 8) break;
        if (line.size() != first.size() + 3 || line.substr(0, first.size()) != first || line[first.size()] != ' ')
            continue;
        const std::string_view next = line.substr(first.size() + 1);
        if (kWholeGbkOnly) {
            if (next.find_first_of("\r\n") != std::string_view::npos || !lumiko::isWholeGbk(line)) continue;
            words.push_back(first + lumiko::removeSpaces(next));
            continue;
        }
        if (next.find_first_of(" \r\n") != std::string_view::npos) continue;
        words.push_back(first + Text(next));
    }
    return words;
}

[[noreturn]] void mismatch(const char* what, const PagedState& got, const PagedState& want) {
    std::cerr << what << ": product (pos " << got.searchPos << ", page " << got.pageIndex << ", "
              << got.history.size() << " stored) '" << got.text << "' vs plain (pos " << want.searchPos
              << ", page " << want.pageIndex << ", " << want.history.size() << " stored) '" << want.text << "'\n";
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lumiko::fuzz::FuzzInput in(data, size);
    // As start-up keeps a table: the file's text followed by a line break.
    const std::string table = in.section() + "\r\n";
    const std::string code = in.section();
    const lumiko::SharedText shared(table);
    const PageLayout layout = in.next(2) ? PageLayout{30, true} : PageLayout{18, false};

    PagedState product, plain;
    lumiko::PagedList list;
    lumiko::CandidatePage page;
    auto caption = [&layout](const lumiko::CandidateList& items) {
        return layout.rows ? lumiko::look::gridCaption(items) : lumiko::look::stripPageCaption(items);
    };
    for (int step = 0; step < 64 && (step == 0 || !in.empty()); ++step) {
        const std::uint32_t op = step == 0 ? 0 : in.next(3);
        const int paging = op == 0 ? 0 : 1, backward = op == 2 ? 1 : 0;
        lumiko::runPagedList(shared, code, layout.perPage, list, page, paging, backward);
        product.text = caption(page.items);
        product.searchPos = list.searchPos;
        product.pageIndex = list.pageIndex;
        product.history.clear();
        for (const auto& stored : list.history) product.history.push_back(caption(stored));
        plainPaging(table, code, layout, plain, paging, backward);
        if (!(product == plain)) mismatch("paged list", product, plain);

        // The panel asks for the hints of a first candidate that is not blank.
        const Text first = lumiko::removeSpaces(product.text.substr(0, 2));
        if (!first.empty()) {
            const std::vector<Text> got = lumiko::wordHintsOf(shared, first);
            if (got != plainWordHints(table, first)) {
                std::cerr << "word hints for '" << first << "' differ\n";
                std::abort();
            }
        }
    }
    return 0;
}

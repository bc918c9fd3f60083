// Candidate search: fills the grid 30 to a page, keeps the page history,
// lays the grid out for hovering and picking, and offers two-character word
// hints for the first candidate. The word-hint strip pages the same way.
#include "app/app.h"
#include "engine/builtin.h"
#include "engine/pagedlist.h"

namespace lumiko {

namespace {
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kBlack = 0;
constexpr PageLayout kGridLayout{30, true};
constexpr PageLayout kStripLayout{18, false};
}  // namespace

void App::searchCandidates(int paging, int backward) {
    Text grid = form.显字标签.text();
    runPagedList(g.searchTable, g.searchCode, kGridLayout,
                 PageState{grid, g.searchPos, g.pageIndex, g.pageTexts}, paging, backward);
    form.显字标签.setText(grid);

    svc_.setTopmost();
    layoutCandidates();

    Control& strip = form.词语提示标签;
    const bool haveGrid = !grid.empty();
    if (g.singleDigitState == 1 && haveGrid) {
        g.firstCandidate = leftText(grid, 2);
        showWordHints();
    } else if (g.singleDigitState == 0 && haveGrid) {
        strip.fontSize = 9;
        g.firstCandidate = leftText(grid, 2);
        showWordHints();
    }
    if (g.singleDigitState == 2 && haveGrid && (!strokeMode() || form.编辑框2.text().empty())) {
        strip.fontSize = 9;
        g.firstCandidate = leftText(grid, 2);
        showWordHints();
    }

    if (strokeMode()) {
        if (g.searchCode == "as") {
            strip.color = kBlue;
            form.显字标签.color = kBlue;
            strip.setText(Text(builtin::basicStrokeStrip()));
            strip.fontSize = 11;
        } else {
            strip.color = kBlack;
            form.显字标签.color = kBlack;
            if (strip.fontSize == 11) strip.color = kBlue;
        }
    }
}

void App::layoutCandidates() {
    const Text& grid = form.显字标签.text();
    const int fallback = 8 * static_cast<int>(grid.size());
    // Once a space is missing, every later edge and position stays unfound,
    // so that no column past the last item can be hovered or picked.
    int pos = findText(grid, " ", 1);
    g.wordEdges[0] = 16 * pos;
    for (size_t k = 1; k < g.wordEdges.size(); ++k) {
        if (pos >= 1) pos = findText(grid, " ", pos + 1);
        g.wordEdges[k] = pos >= 1 ? 16 * pos : fallback;
    }
    pos = 0;
    for (auto& blank : g.blankPositions) {
        pos = pos >= 0 ? findText(grid, " ", pos + 1) : -1;
        blank = pos;
    }
}

void App::showWordHints() {
    Text strip;
    const Text c = removeSpaces(g.firstCandidate);
    const std::string_view table = g.associationTable;
    int found = 0;
    // A qualifying line is exactly the candidate, one space and one more
    // character (two bytes); the first line of the table counts as well.
    auto consider = [&](size_t lineStart) {
        const size_t wordEnd = lineStart + c.size() + 3;
        if (wordEnd > table.size()) return;
        if (table.compare(lineStart, c.size(), c) != 0 || table[lineStart + c.size()] != ' ') return;
        const bool atLineEnd = wordEnd == table.size() || table.compare(wordEnd, 2, "\r\n") == 0;
        const char a = table[wordEnd - 2], b = table[wordEnd - 1];
        if (!atLineEnd || a == '\r' || a == '\n' || b == '\r' || b == '\n' || a == ' ' || b == ' ')
            return;
        strip += c;
        strip.append(table.substr(wordEnd - 2, 2));
        strip += ' ';
        ++found;
    };
    if (!c.empty()) {
        consider(0);
        const Text pattern = "\r\n" + c + " ";
        for (size_t p = table.find(pattern); p != std::string_view::npos && found < 8;
             p = table.find(pattern, p + 1))
            consider(p + 2);
    }
    form.词语提示标签.setText(strip);
}

void App::fillHintStrip(int paging, int backward) {
    Text strip = form.词语提示标签.text();
    runPagedList(g.hintTable, g.searchCode, kStripLayout,
                 PageState{strip, g.hintSearchPos, g.hintPageIndex, g.hintPages}, paging, backward);
    form.词语提示标签.setText(strip);
    svc_.setTopmost();
    if (g.singleDigitState == 2) form.词语提示标签.color = kBlue;
}

}  // namespace lumiko

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
    wordHints_.use(g.associationTable);
    if (const auto* words = c.empty() ? nullptr : wordHints_.find(c))
        for (const Text& word : *words) strip += word + " ";
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

// Candidate search: fills the grid 30 to a page, keeps the page history,
// lays the grid out for hovering and picking, and offers two-character word
// hints for the first candidate. The word-hint strip pages the same way.
// The lists are data (engine/pagedlist); the captions are drawn from them.
#include "app/app.h"
#include "engine/builtin.h"
#include "engine/pagedlist.h"
#include "platform/look.h"

namespace lumiko {

namespace {
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kBlack = 0;
constexpr int kGridPage = 30;
constexpr int kStripPage = 18;
}  // namespace

// The strip shows a list that is not paged: word hints or the basic strokes.
void App::showStrip(CandidateList items) {
    g.stripPage = CandidatePage{std::move(items), false, false};
    g.stripPaged = false;
    form.词语提示标签.setText(look::stripCaption(g.stripPage.items));
}

void App::searchCandidates(int paging, int backward) {
    runPagedList(g.searchTable, g.searchCode, kGridPage, g.gridList, g.gridPage, paging, backward,
                 gridOrder());
    const Text grid = look::gridCaption(g.gridPage.items);
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
            showStrip(look::stripItems(builtin::basicStrokeStrip()));
            strip.fontSize = 11;
        } else {
            strip.color = kBlack;
            form.显字标签.color = kBlack;
            if (strip.fontSize == 11) strip.color = kBlue;
        }
    }
}

void App::layoutCandidates() {
    const look::GridBands bands = look::gridBands(form.显字标签.text());
    g.wordEdges = bands.wordEdges;
    g.blankPositions = bands.blankPositions;
}

void App::showWordHints() {
    CandidateList words;
    const Text c = removeSpaces(g.firstCandidate);
    wordHints_.use(g.associationTable);
    if (const auto* found = c.empty() ? nullptr : wordHints_.find(c))
        for (const Text& word : *found) words.push_back(Candidate{word, c});
    showStrip(std::move(words));
}

void App::fillHintStrip(int paging, int backward) {
    if (runPagedList(g.hintTable, g.searchCode, kStripPage, g.stripList, g.stripPage, paging, backward)) {
        g.stripPaged = true;
        form.词语提示标签.setText(look::stripPageCaption(g.stripPage.items));
    }
    svc_.setTopmost();
    if (g.singleDigitState == 2) form.词语提示标签.color = kBlue;
}

}  // namespace lumiko

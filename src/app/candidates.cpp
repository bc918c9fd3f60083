// Candidate search: fills the grid 30 to a page, keeps the page history,
// lays the grid out for hovering and picking, and offers two-character word
// hints for the first candidate. The word-hint strip pages the same way.
// The lists are data (engine/pagedlist); the captions are drawn from them.
#include <algorithm>

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

namespace {
bool same(const SharedText& a, const SharedText& b) {
    const std::string_view x = a, y = b;
    return !x.empty() && x.data() == y.data() && x.size() == y.size();
}
}  // namespace

char App::listKind() const {
    if (g.searchCode == "as") return 0;
    const SharedText& t = g.searchTable;
    if (same(t, g.associationTable)) return picklist::kAssociation;
    if (same(t, builtin::shared(builtin::componentCodeTable))) return picklist::kComponent;
    if (same(t, g.strokeTable)) return picklist::kStroke;
    if (same(t, g.extraStrokeTable)) return picklist::kExtraStroke;
    if (same(t, g.fourCornerTable)) return picklist::kFourCorner;
    return 0;
}

void App::searchCandidates(int paging, int backward) {
    if (paging == 0) g.gridListKind = listKind();
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
    for (const Text& word : wordHints_.of(g.associationTable, c)) words.push_back(Candidate{word, c});
    if (learning_.on() && !c.empty()) learnedWordsFirst(c, words);
    showStrip(std::move(words));
}

// The words picked before for `c` that the association table offers come
// first, by count, then the shipped hints; still eight at most. The hints
// are only the first eight words of a character, so a learned word is looked
// up in the table itself.
void App::learnedWordsFirst(const Text& c, CandidateList& words) {
    auto learned = learning_.memory().textsUnder(picklist::kWordHint, c);
    if (learned.empty()) return;
    std::stable_sort(learned.begin(), learned.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    CandidateList out;
    auto inTable = [&](const Text& word) {
        if (word.size() <= c.size() || word.compare(0, c.size(), c) != 0) return false;
        const Text line = c + " " + word.substr(c.size());
        for (int p = g.associationTable.findLine(line, 1); p != -1; p = g.associationTable.findLine(line, p + 1)) {
            const std::string_view t = g.associationTable;
            if (t.substr(static_cast<size_t>(p) + 1 + line.size(), 2) == "\r\n") return true;
        }
        return false;
    };
    for (const auto& entry : learned) {
        // A named reference, not a structured binding: clang 14 (the fuzzing
        // build) cannot capture a binding in the lambda below.
        const Text& word = entry.first;
        if (out.size() == kMaxWordHints) break;
        const bool shipped = std::any_of(words.begin(), words.end(), [&](const Candidate& w) { return w.text == word; });
        if (shipped || inTable(word)) out.push_back(Candidate{word, c});
    }
    for (Candidate& w : words) {
        if (out.size() == kMaxWordHints) break;
        if (std::none_of(out.begin(), out.end(), [&](const Candidate& o) { return o.text == w.text; }))
            out.push_back(std::move(w));
    }
    words = std::move(out);
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

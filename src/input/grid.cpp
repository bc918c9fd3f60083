// The character grid has no cells of its own: the hover works out the item
// under the pointer from the edges that layoutCandidates recorded and moves
// the highlight over it; a click on the highlight picks the item of the page
// shown under that row and column.
#include <cmath>

#include "input/input.h"
#include "engine/builtin.h"
#include "platform/look.h"

namespace lumiko::input {

namespace {
constexpr int kRowTops[4] = {8, 76, 146, 214};
constexpr int kMinHighlightWidth = 44;

// Row (1 to 4) whose band holds the mouse y, or 0 between rows.
int rowAt(int y) {
    if (y < 44) return 1;
    if (y > 66 && y < 120) return 2;
    if (y > 120 && y < 190) return 3;
    if (y > 195) return 4;
    return 0;
}

// Highlight left of column c (1 to 8) from the edges E1…E9 (e[0]…e[8]).
int highlightLeft(const std::array<int, 9>& e, int c) {
    static constexpr int kOffset[9] = {0, 0, 11, 15, 22, 27, 32, 37, 37};
    return c == 1 ? 6 : e[static_cast<size_t>(c - 2)] + kOffset[c];
}

// Each width is taken from the following column's edges.
int highlightWidth(const std::array<int, 9>& e, int c) {
    const auto i = static_cast<size_t>(c);
    return c == 8 ? e[8] - e[7] - 32 : e[i] - e[i - 1] - 8;
}

bool inColumn(const std::array<int, 9>& e, int c, int x) {
    const int low = c == 1 ? 0 : e[static_cast<size_t>(c - 2)];
    const int high = c == 8 ? e[7] + 20 : e[static_cast<size_t>(c - 1)];
    return low < x && x < high;
}
}  // namespace

void Input::gridHover(int x, int y) {
    const int row = rowAt(y);
    if (row == 0) return;
    Control& mark = form.定位透明标签;
    for (int c = 1; c <= 8; ++c) {
        if (c > 1) mark.visible = false;
        if (!inColumn(g.wordEdges, c, x)) continue;
        int width = highlightWidth(g.wordEdges, c);
        mark.move(highlightLeft(g.wordEdges, c), kRowTops[row - 1], width, mark.height);
        if (width < kMinHighlightWidth) mark.width = kMinHighlightWidth;
        mark.visible = true;
        return;
    }
}

void Input::gridClick() {
    const Control& mark = form.定位透明标签;
    int row = 0;
    for (int r = 1; r <= 4; ++r)
        if (mark.top == kRowTops[r - 1]) row = r;
    if (row == 0) return;
    int column = 0;
    for (int c = 1; c <= (row == 4 ? 6 : 8) && column == 0; ++c)
        if (std::abs(mark.left - highlightLeft(g.wordEdges, c)) <= 1e-7) column = c;
    if (column == 0) return;

    // The cell names an item of the page shown. The pick keeps the blanks
    // the grid's caption has around the item (they reach the info strip,
    // not the target): none in the very first cell, the one after it in the
    // first column of rows 2 to 4, both elsewhere.
    const int index = look::gridItemIndex(row, column);
    const CandidateList& items = g.gridPage.items;
    if (index < 0 || static_cast<size_t>(index) >= items.size()) {
        g.pickedText.clear();
        g.pickedList = 0;
    } else {
        const Candidate& picked = items[static_cast<size_t>(index)];
        g.pickedText = column > 1 ? " " + picked.text + " " : row > 1 ? picked.text + " " : picked.text;
        g.pickedList = g.gridListKind;
        g.pickedKey = picked.key;
    }
    pickText();
}

void Input::pickText() {
    if (strokeMode(form) && g.picksSinceStroke == 2) {
        g.pickedList = 0;  // a component is no commit
        if (g.pickedText.empty()) return;
        clearInput();
        const Text component = removeSpaces(g.pickedText);
        form.编辑框2.setText(form.编辑框2.text() + component);
        form.输入标签.setText(form.输入标签.text() + component);
        g.pickedText.clear();
        g.commitsInRow = 0;
        g.picksSinceStroke = 0;
        g.singleDigitState = 1;
        return;
    }
    if (g.pickedText.empty()) {
        g.pickedList = 0;
        return;
    }
    clearInput();
    form.编辑框.setText(g.pickedText);
    searches_.commitText(removeSpaces(g.pickedText));
    g.pickedText.clear();
    ++g.commitsInRow;
    ++g.picksSinceStroke;
    if (g.commitsInRow == 2 && form.输入标签.text().empty()) {
        if (strokeMode(form)) {
            listFromStart(builtin::shared(builtin::componentList));
            g.singleDigitState = 1;
        } else {
            listFromStart(builtin::shared(builtin::commonCharacterList));
            g.commitsInRow = 0;
        }
    }
}

void Input::usePickAsPrefix() {
    g.pickedList = 0;
    if (g.pickedText.empty()) return;
    clearInput();
    g.singleDigitState = 1;
    const Text component = removeSpaces(g.pickedText);
    form.编辑框2.setText(form.编辑框2.text() + component);
    form.输入标签.setText(form.输入标签.text() + component);
    g.pickedText.clear();
}

}  // namespace lumiko::input

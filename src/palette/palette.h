// The palette's parts, each working on the controls it fills: the sheet of
// symbol pages opened by 更多, the date page, the typing of a cell, and the
// slots of the word-hint strip. App's handlers call them with the panel's
// controls and state.
#pragma once

#include <optional>

#include "engine/gbktext.h"
#include "platform/controls.h"
#include "platform/services.h"

namespace lumiko::palette {

// 更多: opens the palette sheet on the punctuation page, or closes it.
void toggleSheet(Control& sheet, Control& grid, Control& list);
// Fills the grid with symbol page `page` (0 字母 … 10 俄文字母) and shows it
// instead of the list; a page outside the eleven changes nothing.
void showSymbolPage(Control& grid, Control& list, int page);

// Fills the list with the eleven date and time lines of the moment and shows
// it instead of the grid, line 1 marked.
void showDatePage(Control& list, Control& grid, DesktopWindow& clock);
// The chosen line of the date list, empty when none is.
Text chosenDateLine(const Control& list);
// The text of the grid's current cell without its blanks, empty outside the
// grid.
Text currentCellText(const Control& grid);

// What the word-hint strip shows and how it was filled.
struct StripState {
    bool wide = false;       // the strip spans the panel (415 pixels)
    bool startList = false;  // it lists the start components (code "as")
    int singleDigitState = 0;
    bool codeEmpty = true;   // the code box is empty
};
// The pointer over the strip at x, or nothing when it stays as it was.
std::optional<Pointer> stripPointerAt(const StripState& state, int x);
// What a release at x picks from the strip's text: the picked text, and
// whether it becomes the prefix of the code; nothing outside every slot.
struct StripPick {
    Text text;
    bool prefix = false;
};
std::optional<StripPick> stripPickAt(const StripState& state, const Text& stripText, int x);

}  // namespace lumiko::palette

// The symbol palette: 更多 opens and closes it, the page buttons fill its
// grid with one of the built-in symbol pages.
#include "palette/palette.h"
#include "palette/symbolpages.h"

namespace lumiko::palette {

namespace {
constexpr int kPunctuationPage = 1;
}  // namespace

void toggleSheet(Control& sheet, Control& grid, Control& list) {
    if (sheet.visible) {
        sheet.visible = false;
        return;
    }
    sheet.visible = true;
    showSymbolPage(grid, list, kPunctuationPage);
}

void showSymbolPage(Control& grid, Control& list, int page) {
    const auto all = symbols::pages();
    if (page < 0 || page >= static_cast<int>(all.size())) return;

    grid.visible = true;
    list.visible = false;
    // The grid always holds 10 x 12 cells; clearing them is its whole set-up.
    grid.clearCells();
    for (const auto& row : all[static_cast<size_t>(page)].rows) {
        if (row.row < 0 || row.row >= Control::kGridRows) continue;
        const auto items = symbols::splitRow(row.text);
        auto& cells = grid.cells[static_cast<size_t>(row.row)];
        for (size_t c = 0; c < cells.size(); ++c) cells[c] = c < items.size() ? items[c] : Text();
    }
}

}  // namespace lumiko::palette

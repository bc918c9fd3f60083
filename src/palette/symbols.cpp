// The symbol palette: 更多 opens and closes it, the page buttons fill its
// grid with one of the built-in symbol pages.
#include "app/app.h"
#include "palette/symbolpages.h"

namespace lumiko {

namespace {
constexpr int kPunctuationPage = 1;
}  // namespace

void App::togglePalette() {
    if (form.图片框3.visible) {
        form.图片框3.visible = false;
        return;
    }
    form.图片框3.visible = true;
    showSymbolPage(kPunctuationPage);
}

void App::showSymbolPage(int page) {
    const auto all = symbols::pages();
    if (page < 0 || page >= static_cast<int>(all.size())) return;

    form.表格1.visible = true;
    form.列表框1.visible = false;
    // The grid always holds 10 x 12 cells; clearing them is its whole set-up.
    form.表格1.clearCells();
    for (const auto& row : all[static_cast<size_t>(page)].rows) {
        if (row.row < 0 || row.row >= Control::kGridRows) continue;
        const auto items = symbols::splitRow(row.text);
        auto& cells = form.表格1.cells[static_cast<size_t>(row.row)];
        for (size_t c = 0; c < cells.size(); ++c) cells[c] = c < items.size() ? items[c] : Text();
    }
}

}  // namespace lumiko

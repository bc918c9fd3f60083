// Every assignment of the hidden code box 编辑框2 runs codeChanged: it picks
// the table for the mode, chooses between a plain stroke lookup and a
// component lookup, and runs the searches.
#include "app/app.h"
#include "engine/builtin.h"

namespace lumiko {

void App::codeChanged() {
    const Text code = form.编辑框2.text();
    g.searchCode = code;
    const Mode m = mode();
    g.searchTable = m == Mode::Stroke        ? g.strokeTable
                    : m == Mode::ExtraStroke ? g.extraStrokeTable
                                             : g.fourCornerTable;
    if (code.size() == 1 && code[0] >= '0' && code[0] <= '9') g.singleDigitState = 2;

    if (g.singleDigitState == 2) {
        if (m == Mode::Stroke) {
            form.词语提示标签.fontSize = 11;
            g.hintTable = builtin::shared(builtin::strokeComponentTable);
            fillHintStrip(0, 0);
        }
        searchCandidates(0, 0);
    } else if (g.singleDigitState == 1 && m == Mode::Stroke) {
        form.词语提示标签.fontSize = 9;
        g.searchTable = builtin::shared(builtin::componentCodeTable);
        searchCandidates(0, 0);
    }

    if (g.codeActive == 1) {
        if (code.empty()) hidePageButtons();
    } else if (!code.empty()) {
        showPageButtons();
    }
    if (form.图片框3.visible) form.图片框3.visible = false;
}

}  // namespace lumiko

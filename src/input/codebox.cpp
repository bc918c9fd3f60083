// Every assignment of the hidden code box 编辑框2 runs codeChanged: it picks
// the table for the mode, chooses between a plain stroke lookup and a
// component lookup, and runs the searches.
#include "input/input.h"
#include "engine/builtin.h"

namespace lumiko::input {

void Input::codeChanged() {
    const Text code = form.编辑框2.text();
    g.searchCode = code;
    const Mode m = modeOf(form);
    g.searchTable = m == Mode::Stroke        ? g.strokeTable
                    : m == Mode::ExtraStroke ? g.extraStrokeTable
                                             : g.fourCornerTable;
    if (code.size() == 1 && code[0] >= '0' && code[0] <= '9') g.singleDigitState = 2;

    if (g.singleDigitState == 2) {
        if (m == Mode::Stroke) {
            form.词语提示标签.fontSize = 11;
            g.hintTable = builtin::shared(builtin::strokeComponentTable);
            searches_.fillHintStrip(0, 0);
        }
        searches_.searchCandidates(0, 0);
    } else if (g.singleDigitState == 1 && m == Mode::Stroke) {
        form.词语提示标签.fontSize = 9;
        g.searchTable = builtin::shared(builtin::componentCodeTable);
        searches_.searchCandidates(0, 0);
    }

    if (g.codeActive == 1) {
        if (code.empty()) hidePageButtons();
    } else if (!code.empty()) {
        showPageButtons();
    }
    if (form.图片框3.visible) form.图片框3.visible = false;
}

}  // namespace lumiko::input

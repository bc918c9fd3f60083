// The palette's handlers: the parts of palette/ over the panel's controls
// and state.
#include "app/app.h"
#include "palette/palette.h"

namespace lumiko {

namespace {
palette::StripState stripState(const PanelForm& form, const Globals& g) {
    return {form.词语提示标签.width == 415, g.searchCode == "as", g.singleDigitState, form.编辑框2.text().empty()};
}
}  // namespace

void App::togglePalette() { palette::toggleSheet(form.图片框3, form.表格1, form.列表框1); }

void App::showSymbolPage(int page) { palette::showSymbolPage(form.表格1, form.列表框1, page); }

void App::showDatePage() { palette::showDatePage(form.列表框1, form.表格1, svc_); }

void App::dateLineChosen() { g.pendingListText = palette::chosenDateLine(form.列表框1); }

void App::paletteCellPicked() {
    const MenuItem* alternative = form.findMenuItem("备用输入接口");
    const bool viaClipboard = alternative && alternative->checked;
    Text text = palette::currentCellText(form.表格1);
    if (viaClipboard) {
        svc_.setClipboard(text);
        svc_.sendKey(Key::CtrlV);
    } else {
        commitText(text);
    }
}

void App::stripMouseMove(int x) {
    if (const auto pointer = palette::stripPointerAt(stripState(form, g), x)) form.词语提示标签.pointer = *pointer;
}

void App::stripRelease(int x) {
    const auto pick = palette::stripPickAt(stripState(form, g), form.词语提示标签.text(), x);
    if (!pick) return;
    g.pickedText = pick->text;
    // A word hint picked is counted under the character it follows.
    g.pickedList = 0;
    const Text word = removeSpaces(pick->text);
    if (!g.stripPaged)
        for (const Candidate& c : g.stripPage.items)
            if (c.text == word && !c.key.empty()) {
                g.pickedList = picklist::kWordHint;
                g.pickedKey = c.key;
                break;
            }
    if (pick->prefix)
        usePickAsPrefix();
    else
        pickText();
}

}  // namespace lumiko

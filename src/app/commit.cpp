// The one road by which text leaves the panel.
#include <cctype>

#include "app/app.h"

namespace lumiko {

namespace {
// The focus target kept in 底盘标签 as decimal text; an empty or
// unreadable caption counts as window 0, which reaches no application.
std::uint64_t targetWindow(const Text& caption) {
    std::uint64_t handle = 0;
    for (char c : caption) {
        if (!std::isdigit(static_cast<unsigned char>(c))) break;
        handle = handle * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return handle;
}

bool checked(PanelForm& form, std::string_view item) {
    const MenuItem* m = form.findMenuItem(item);
    return m && m->checked;
}
}  // namespace

void App::commitText(Text& text) {
    CommitEvent event{text, g.pickedList, g.pickedKey};
    g.pickedList = 0;
    g.pickedKey.clear();
    if (checked(form, "繁体")) text = svc_.toTraditional(text);
    // Stray bytes would reach the application as characters it never asked
    // for; such a text is not typed at all.
    if (!isWholeGbk(text)) return;
    learning_.committed(event);
    g.searchCode = text;
    if (checked(form, "备用输入接口")) {
        svc_.setClipboard(text);
        svc_.sendKey(Key::CtrlV);
    } else {
        // One character message per byte, to the window the timer saw last.
        svc_.sendChars(targetWindow(form.底盘标签.text()), text);
    }
    if (g.searchCode.size() > 2) g.searchCode = rightText(g.searchCode, 2);
    if (!form.图片框3.visible) {
        g.searchTable = g.associationTable;
        searchCandidates(0, 0);
    }
    const bool empty = form.显字标签.text().empty();
    form.超级上.visible = !empty;
    form.超级下.visible = !empty;
}

}  // namespace lumiko

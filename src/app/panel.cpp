// Handlers of the panel as a whole: showing and hiding it, the tray icon,
// the popup menu, the close request and backspace.
#include "app/app.h"

namespace lumiko {

void App::showPanel() { form.visible = true; }

void App::hidePanel() { form.visible = false; }

void App::trayLeftClick() {
    if (!form.visible) {
        showPanel();
        if (form.WebBrowser1.visible) openPad();
    } else {
        hidePanel();
    }
}

void App::trayRightClick() { svc_.popupMenu(); }

bool App::closeRequest() {
    hidePanel();
    return false;
}

void App::chooseMenu(std::string_view item) {
    if (exited) return;
    MenuItem* m = form.findMenuItem(item);
    if (m && m->onChoose) m->onChoose();
}

void App::backspace() {
    if (g.codeActive == 1) {
        const Text& shown = form.输入标签.text();
        form.输入标签.setText(leftText(shown, static_cast<int>(shown.size()) - 2));
        const Text& code = form.编辑框2.text();
        form.编辑框2.setText(leftText(code, static_cast<int>(code.size()) - 1));  // runs codeChanged
    } else {
        svc_.sendKey(Key::Backspace);
    }
}

}  // namespace lumiko

// The handwriting page in the browser view: showing it and opening its pad.
#include "app/app.h"

namespace lumiko {

void App::showHandwritingPage() {
    form.WebBrowser1.visible = true;
    form.图片框1.visible = false;
}

// Opening the pad from the tray and the menu. Without a network the page's
// script cannot have loaded the pad; the page is reloaded instead, so that
// its script tries again and the pad is there once the network is back.
void App::openPad() {
    if (svc_.networkState() != 1) {
        svc_.browserReload();
        return;
    }
    // Reach the document afresh: the view may have loaded a new one since the
    // timer last looked.
    webPage.attach();
    webPage.clickLinkTo(kPadLink);
}

// The page asked for a new browser window. The browser goes on with its own
// handling; the pad is opened besides, when there is a network.
void App::newWindowRequested() {
    if (svc_.networkState() != 1) return;
    webPage.attach();
    webPage.clickLinkTo(kPadLink);
}

}  // namespace lumiko

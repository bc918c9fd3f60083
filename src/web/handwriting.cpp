#include "web/handwriting.h"

namespace lumiko::handwriting {

void showPage(Control& view, Control& cover) {
    view.visible = true;
    cover.visible = false;
}

void openPad(Network& network, Browser& browser, WebPage& page) {
    if (network.networkState() != 1) {
        browser.browserReload();
        return;
    }
    // Reach the document afresh: the view may have loaded a new one since the
    // timer last looked.
    page.attach();
    page.clickLinkTo(kPadLink);
}

void newWindowRequested(Network& network, WebPage& page) {
    if (network.networkState() != 1) return;
    page.attach();
    page.clickLinkTo(kPadLink);
}

}  // namespace lumiko::handwriting

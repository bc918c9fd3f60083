#include "web/handwriting.h"

namespace lumiko::handwriting {

bool typable(const Text& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F) continue;
        if (c < 0x81 || c == 0xFF || i + 1 == text.size()) return false;
        const auto trail = static_cast<unsigned char>(text[++i]);
        if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return false;
    }
    return true;
}

Text refusalNote(const Text& text) {
    constexpr size_t kShown = 80;
    static constexpr char kHex[] = "0123456789ABCDEF";
    Text shown;
    for (size_t i = 0; i < text.size() && i < kShown; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            shown += static_cast<char>(c);
        } else {
            shown += "\\x";
            shown += kHex[c >> 4];
            shown += kHex[c & 15];
        }
    }
    if (text.size() > kShown) shown += "...";
    return "handwriting text refused (not one line of printable GBK text, " + std::to_string(text.size()) +
           " bytes): " + shown;
}

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

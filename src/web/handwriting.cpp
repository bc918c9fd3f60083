#include "web/handwriting.h"

#include <string_view>

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

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool startsWithNoCase(const Text& text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (lowerAscii(text[i]) != prefix[i]) return false;
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = lowerAscii(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// One spelling of a local file's address for comparing: without "file:"
// and the slashes of its host part, '/' as separator, ASCII letters in
// lower case (the Windows desktop's file names ignore case), escapes of
// ASCII characters decoded. The two bytes of a GBK character stay as they are.
Text fileKey(const Text& address) {
    size_t at = 0;
    if (startsWithNoCase(address, "file:")) {
        at = 5;
        if (address.compare(at, 2, "//") == 0) at += 2;
        // file:///C:/… names C:/…; file:///run/… names /run/….
        if (address.size() > at + 2 && address[at] == '/' && address[at + 2] == ':') ++at;
    }
    Text key;
    for (size_t i = at; i < address.size(); ++i) {
        char c = address[i];
        if (static_cast<unsigned char>(c) >= 0x81 && i + 1 < address.size()) {
            key += c;
            key += address[++i];
            continue;
        }
        if (c == '%' && i + 2 < address.size()) {
            const int high = hexDigit(address[i + 1]), low = hexDigit(address[i + 2]);
            if (high >= 0 && low >= 0 && high < 8) {
                c = static_cast<char>(high * 16 + low);
                i += 2;
            }
        }
        key += c == '\\' ? '/' : lowerAscii(c);
    }
    return key;
}

}  // namespace

bool viewMayGo(const Text& address, const Text& page) {
    if (startsWithNoCase(address, "lumiko-pad:") || startsWithNoCase(address, "javascript:")) return true;
    if (address == "about:blank") return true;
    if (page.empty()) return false;
    const Text key = fileKey(address), pageKey = fileKey(page);
    return key == pageKey || (key.size() > pageKey.size() && key.compare(0, pageKey.size(), pageKey) == 0 &&
                              key[pageKey.size()] == '#');
}

bool opensOutside(const Text& address) {
    return startsWithNoCase(address, "http://") || startsWithNoCase(address, "https://");
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

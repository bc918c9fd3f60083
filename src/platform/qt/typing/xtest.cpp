#include "platform/qt/typing/xtest.h"

#include "platform/qt/typing/keymap.h"
#include "platform/qt/x11input.h"

namespace lumiko::desktop {

bool XTestTypist::canReach() { return x11_.connected(); }
bool XTestTypist::focus(std::uint64_t& target) { return x11_.focusedWindow(target); }

bool XTestTypist::settled() { return x11_.settled(); }

void XTestTypist::type(std::uint64_t target, const std::string& utf8) {
    for (const char32_t cp : codePoints(utf8)) x11_.typeChar(target, cp);
}

void XTestTypist::press(Key key) { x11_.pressKey(key); }

}  // namespace lumiko::desktop

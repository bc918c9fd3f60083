#include "platform/qt/typing/xtest.h"

#include <chrono>

#include "platform/qt/typing/keymap.h"
#include "platform/qt/x11input.h"

namespace lumiko::desktop {

bool XTestTypist::canReach() { return x11_.connected(); }
bool XTestTypist::focus(std::uint64_t& target) { return x11_.focusedWindow(target); }

namespace {
// A spare keycode keeps a character's keysym this long after its last use,
// so that slow applications still read the key they were sent.
constexpr std::chrono::milliseconds kSpareKeyHold{2000};
}  // namespace

bool XTestTypist::rest() { return x11_.releaseSpareKeys(kSpareKeyHold); }

bool XTestTypist::settled() { return x11_.settled(); }

void XTestTypist::type(std::uint64_t target, const std::string& utf8) {
    for (const char32_t cp : codePoints(utf8)) x11_.typeChar(target, cp);
}

void XTestTypist::press(Key key) { x11_.pressKey(key); }

}  // namespace lumiko::desktop

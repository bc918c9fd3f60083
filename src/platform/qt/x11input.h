// Keyboard input for other applications on an X11 display: which window has
// the input focus, typing a character into a window, and the editing keys.
// Typing goes through the XTest extension when the window has the focus, so
// that the application sees real key presses; a character without a key in
// the current layout is typed on a spare keycode that is given that
// character's keysym for a while. A window without the focus gets key events
// sent to it directly.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

#include "platform/services.h"

namespace lumiko::desktop {

// The X keysym that types a character: Latin-1 keysyms for U+0020–U+007E and
// U+00A0–U+00FF, the Unicode keysym range for the rest, the function keys for
// the line break, tab and backspace. 0 for other control characters.
unsigned long keysymFor(char32_t cp);

class X11Input {
public:
    // Opens a connection of its own to the display named by $DISPLAY.
    X11Input();
    ~X11Input();
    X11Input(const X11Input&) = delete;
    X11Input& operator=(const X11Input&) = delete;

    bool connected() const;

    // The window that has the input focus; false when the query fails or
    // no window has it (None, or focus following the pointer).
    bool focusedWindow(std::uint64_t& window);

    // Types one character into `window` (0: nowhere).
    void typeChar(std::uint64_t window, char32_t cp);

    // A press and release of an editing key (or Ctrl+V), to the focused
    // window.
    void pressKey(Key key);

    // Keeps a window of this program from ever taking the input focus: its
    // WM_HINTS ask for no input and its WM_PROTOCOLS lose WM_TAKE_FOCUS, so
    // that neither a click nor the window manager gives it the focus.
    void refuseFocus(std::uint64_t window);

    // The state a window asks the window manager for when it is mapped
    // (WM_HINTS): normal or minimised. Qt keeps asking for the minimised
    // state once a window was minimised, even after the window manager
    // restored it.
    void setInitialState(std::uint64_t window, bool minimised);

    // Gives the spare keycodes borrowed for characters without a key their
    // own mapping back once they have not been used for `idle`.
    // Returns whether some are still lent.
    bool releaseSpareKeys(std::chrono::milliseconds idle);

    // Whether the focus last told still holds, as far as the server's events
    // say. Reads what arrived on the connection first.
    bool settled();
    // The connection's socket, to learn when the server has something to
    // say (a focus change); -1 without a display.
    int connectionNumber() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace lumiko::desktop

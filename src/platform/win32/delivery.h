// Typing into another application: character messages and simulated keys.
//
// The core hands over committed text one GBK byte at a time. Posting those
// bytes as ANSI WM_CHAR messages leaves the pairing of a lead and a trail
// byte to the system, which pairs them by the code page of the sending
// thread's keyboard layout: with an English layout, or when the target is
// reached without the queue, each byte of 中 arrives as a character of its
// own and the target shows "??" or "ÖÐ". The composer pairs the bytes here,
// by the text's own code page, and each character goes out as one UTF-16
// WM_CHAR, which the system hands to ANSI targets in their own code page.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/services.h"

namespace lumiko::win32 {

class CharComposer {
public:
    struct Unit {
        std::uint64_t window;
        wchar_t ch;
    };

    // The UTF-16 units completed by this byte: none while a lead byte waits
    // for its trail byte, two for a character beyond the basic plane. A lead
    // byte whose trail goes to another window, or that no trail can follow,
    // is dropped.
    std::vector<Unit> feed(std::uint64_t window, unsigned char byte);

private:
    std::uint64_t leadWindow_ = 0;
    int lead_ = -1;
};

// Posts each unit as a WM_CHAR (lParam 1: one keystroke) to its window.
void postChars(const std::vector<CharComposer::Unit>& units);

// A synthesised press and release of the key (Ctrl+V: both keys), reaching
// the window that has the keyboard focus.
void pressKey(Key key);

// Replaces the clipboard's content with the text, from the given owner.
bool putOnClipboard(void* owner, const Text& gbk);

}  // namespace lumiko::win32

// Typing into another application: character messages and simulated keys.
//
// The core hands over committed text as GBK bytes, one character message
// each. Posting those bytes as ANSI WM_CHAR messages leaves the pairing of a
// lead and a trail byte to the system, which pairs them by the code page of
// the sending thread's keyboard layout: with an English layout, or when the
// target is reached without the queue, each byte of 中 arrives as a character
// of its own and the target shows "??" or "ÖÐ". The shared composer pairs the
// bytes by the text's own code page, and each character goes out as one
// UTF-16 WM_CHAR, which the system hands to ANSI targets in their own code
// page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/services.h"

namespace lumiko::win32 {

// The UTF-16 units of a GBK text: one for most characters, two for a
// character beyond the basic plane. Sequences that name no character are
// dropped.
std::wstring unitsOfGbk(const Text& gbk);

// Posts each unit as a WM_CHAR (lParam 1: one keystroke) to the window.
void postChars(std::uint64_t window, const std::wstring& units);

// A synthesised press and release of the key (Ctrl+V: both keys), reaching
// the window that has the keyboard focus.
void pressKey(Key key);

// Replaces the clipboard's content with the text, from the given owner.
bool putOnClipboard(void* owner, const Text& gbk);

}  // namespace lumiko::win32

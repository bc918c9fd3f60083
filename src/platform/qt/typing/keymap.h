// The keymaps the virtual keyboard types with: the editing keys at their
// usual places, and for each commit a key for every character it holds, so
// that any character, Chinese included, is one key press.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumiko::desktop {

// Keys of the keymaps as the compositor counts them (Linux input event
// codes, the XKB keycode less 8).
namespace keys {
constexpr std::uint32_t kBackspace = 14, kEnter = 28, kCtrl = 29, kV = 47, kSpace = 57;
// The characters of a commit take the keys from here on, one each.
constexpr std::uint32_t kFirstChar = 92;
// XKB keycodes end at 255 (X programs under XWayland read them too).
constexpr std::size_t kMaxChars = 255 - 8 - kFirstChar + 1;
}  // namespace keys

// The Control bit of a keymap's modifier state.
constexpr std::uint32_t kControlMask = 1u << 2;

// A keymap in the XKB text format, NUL not included: the editing keys and
// one key per character of `chars` (at most kMaxChars, no repeats), the
// i-th at key kFirstChar + i. Characters without a keysym get no key.
std::string keymapText(const std::u32string& chars);

// The text split into runs of at most kMaxChars different characters, in
// order, with the characters each run needs (in order of first use).
struct Run {
    std::u32string text;
    std::u32string chars;
};
std::vector<Run> splitRuns(const std::u32string& text, std::size_t maxChars = keys::kMaxChars);

// The code points of a UTF-8 text; invalid bytes are skipped.
std::u32string codePoints(const std::string& utf8);

}  // namespace lumiko::desktop

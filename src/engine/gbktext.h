// Byte-exact helpers for GBK texts. Every position counts bytes from 1 and a
// failed search yields -1, so the panel's cuts and searches read the same way
// everywhere; nothing here decodes or re-encodes characters.
#pragma once

#include <string>
#include <string_view>

namespace lumiko {

using Text = std::string;  // GBK bytes

// Position (from 1) of the first occurrence of `needle` at or after byte
// `from` (from 1; values below 1 count as 1), or -1. An empty needle is
// never found.
int findText(std::string_view hay, std::string_view needle, int from = 1);

// The `len` bytes that begin at byte `start` (from 1); clipped to the text,
// empty when the range lies outside it.
Text midText(std::string_view text, int start, int len);
Text leftText(std::string_view text, int len);
Text rightText(std::string_view text, int len);

// The text with every ASCII space removed (full-width spaces stay).
Text removeSpaces(std::string_view text);

// True when `text` is made of whole GBK characters (ASCII bytes or valid
// two-byte pairs).
bool isWholeGbk(std::string_view text);

}  // namespace lumiko

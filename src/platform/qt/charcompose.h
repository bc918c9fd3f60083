// Committed GBK text as the Unicode characters the X server is sent: the
// shared composer (platform/delivery.h) puts each character's bytes
// together, and each becomes one code point here.
#pragma once

#include <string>

#include "engine/gbktext.h"

namespace lumiko::desktop {

// The characters of a GBK text, in order. Sequences that name no character
// are dropped.
std::u32string composeCharacters(const Text& gbk);

// The code point of the first character of a UTF-8 text, or 0 when it does
// not begin with a whole valid sequence.
char32_t firstCodePoint(const std::string& utf8);

}  // namespace lumiko::desktop

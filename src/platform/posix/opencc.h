// Simplified-to-traditional conversion through OpenCC's s2t configuration.
#pragma once

#include "engine/gbktext.h"

namespace lumiko::posix {

// Converts the characters of a GBK text to traditional characters. Bytes that
// are not part of a valid character are kept as they are; when OpenCC or its
// configuration is not available the text comes back unchanged.
Text toTraditional(const Text& gbk);

}  // namespace lumiko::posix

// The one composer of both front-ends: the core hands over committed text as
// character messages, one GBK byte each, in one call per text; a desktop
// types whole characters, so the bytes are put together here, by the text's
// own code page, before each front-end converts a character at its edge.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumiko {

// The characters of a GBK text in order, each as its bytes: one for ASCII,
// two for a lead and a trail byte, four for a four-byte GB18030 sequence.
// Bytes that begin or continue no character are dropped, and a stray byte
// never swallows the character after it.
std::vector<std::string> gbkCharacters(std::string_view bytes);

}  // namespace lumiko

// Conversion between the core's GBK texts and the UTF-8 of the Linux desktop.
// GBK is read and written with the GB18030 mapping, which agrees with GBK on
// every two-byte character and also covers the FE-block components.
#pragma once

#include <string>
#include <string_view>

namespace lumiko::posix {

// Decodes GBK bytes. A byte that does not begin a valid character, or a lead
// byte whose character is cut off, becomes U+FFFD and decoding goes on with
// the next byte.
std::string gbkToUtf8(std::string_view gbk);

// Length in bytes of the longest prefix of `gbk` made of whole, valid
// characters.
size_t gbkValidPrefix(std::string_view gbk);

// Encodes UTF-8. A byte that does not belong to a valid UTF-8 sequence becomes
// '?'.
std::string utf8ToGbk(std::string_view utf8);

}  // namespace lumiko::posix

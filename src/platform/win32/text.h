// The core's texts are GBK bytes (code page 936) whatever the system's own
// code page is; everything that reaches the system goes through UTF-16.
#pragma once

#include <string>
#include <string_view>

#include "engine/gbktext.h"

namespace lumiko::win32 {

inline constexpr unsigned kGbk = 936;

std::wstring wideOfGbk(std::string_view gbk);
// Characters that GBK cannot hold become '?'; `lossless` tells whether any did.
Text gbkOfWide(std::wstring_view wide, bool* lossless = nullptr);
std::string utf8OfWide(std::wstring_view wide);
std::wstring wideOfUtf8(std::string_view utf8);

// A core path (GBK, '\' or '/' separators, relative to the working
// directory or absolute) as the system's UTF-16 path.
std::wstring nativePath(const Text& corePath);
// A system path as a core path. A path that GBK cannot spell (a user name in
// another script, say) is handed over in its short 8.3 form, which is ASCII.
Text corePath(const std::wstring& nativePath);

// An address with its percent-escapes of UTF-8 bytes turned into the
// characters they spell; escapes of ASCII characters stay as they are.
std::wstring unescapedAddress(const std::wstring& address);

}  // namespace lumiko::win32

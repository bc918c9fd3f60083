#include "platform/win32/text.h"

#include <windows.h>

namespace lumiko::win32 {

namespace {
std::wstring toWide(unsigned codePage, std::string_view s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}
}  // namespace

std::wstring wideOfGbk(std::string_view gbk) { return toWide(kGbk, gbk); }
std::wstring wideOfUtf8(std::string_view utf8) { return toWide(CP_UTF8, utf8); }

Text gbkOfWide(std::wstring_view w, bool* lossless) {
    if (lossless) *lossless = true;
    if (w.empty()) return {};
    BOOL usedDefault = FALSE;
    const int len = static_cast<int>(w.size());
    const int n = WideCharToMultiByte(kGbk, 0, w.data(), len, nullptr, 0, nullptr, nullptr);
    Text out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(kGbk, 0, w.data(), len, out.data(), n, nullptr, &usedDefault);
    if (lossless) *lossless = !usedDefault;
    return out;
}

std::string utf8OfWide(std::wstring_view w) {
    if (w.empty()) return {};
    const int len = static_cast<int>(w.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), len, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), len, out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring nativePath(const Text& corePath) { return wideOfGbk(corePath); }

Text corePath(const std::wstring& native) {
    bool lossless = true;
    Text gbk = gbkOfWide(native, &lossless);
    if (lossless) return gbk;
    wchar_t shortPath[MAX_PATH * 2];
    const DWORD n = GetShortPathNameW(native.c_str(), shortPath, MAX_PATH * 2);
    if (n == 0 || n >= MAX_PATH * 2) return gbk;
    return gbkOfWide(std::wstring_view(shortPath, n));
}

// An address with its percent-escapes of UTF-8 bytes turned into the
// characters they spell (the engine may spell a folder named in Chinese so);
// escapes of ASCII characters are left for the core's comparison.
std::wstring unescapedAddress(const std::wstring& address) {
    const auto hex = [](wchar_t c) {
        return c >= L'0' && c <= L'9' ? c - L'0' : c >= L'a' && c <= L'f' ? c - L'a' + 10 : c >= L'A' && c <= L'F' ? c - L'A' + 10 : -1;
    };
    std::wstring out;
    std::string bytes;  // escaped bytes of 0x80 and above, not yet turned into characters
    for (size_t i = 0; i < address.size(); ++i) {
        if (address[i] == L'%' && i + 2 < address.size() && hex(address[i + 1]) >= 8 && hex(address[i + 2]) >= 0) {
            bytes += static_cast<char>(hex(address[i + 1]) * 16 + hex(address[i + 2]));
            i += 2;
            continue;
        }
        out += wideOfUtf8(bytes);
        bytes.clear();
        out += address[i];
    }
    return out + wideOfUtf8(bytes);
}

}  // namespace lumiko::win32

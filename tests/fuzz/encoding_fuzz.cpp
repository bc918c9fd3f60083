// The conversions at the Linux edge (file names, display, typing) over any
// bytes: GBK decodes to valid UTF-8 whatever it holds, a text of whole GBK
// characters comes back unchanged through UTF-8, and a core path maps to a
// native one and back without change.
#include <cstdlib>
#include <iostream>

#include "engine/gbktext.h"
#include "platform/posix/encoding.h"
#include "platform/posix/files.h"

namespace {

// Well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool validUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        unsigned v = n == 1 ? b : b & (0x7F >> n);
        for (size_t k = 1; k < n; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c >> 6) != 2) return false;
            v = (v << 6) | (c & 0x3F);
        }
        static constexpr unsigned kLeast[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (v < kLeast[n] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return false;
        i += n;
    }
    return true;
}

[[noreturn]] void fail(const char* what, std::string_view bytes) {
    std::cerr << what << ": '" << bytes << "'\n";
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string utf8 = lumiko::posix::gbkToUtf8(bytes);
    if (!validUtf8(utf8)) fail("decoded to malformed UTF-8", bytes);
    if (lumiko::posix::gbkValidPrefix(bytes) > bytes.size()) fail("valid prefix longer than the text", bytes);
    if (lumiko::isWholeGbk(bytes)) {
        if (lumiko::posix::utf8ToGbk(utf8) != bytes) fail("whole GBK text changed through UTF-8", bytes);
        if (lumiko::posix::gbkValidPrefix(bytes) != bytes.size()) fail("whole GBK text not valid", bytes);
        std::string slashed = bytes;
        for (size_t i = 0; i < slashed.size(); ++i) {
            if (static_cast<unsigned char>(slashed[i]) >= 0x81) ++i;  // a trail byte may be 0x5C
            else if (slashed[i] == '\\') slashed[i] = '/';
        }
        if (lumiko::posix::corePath(lumiko::posix::nativePath(bytes)) != slashed)
            fail("path changed through the native form", bytes);
    }
    return 0;
}

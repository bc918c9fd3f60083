#include "platform/qt/charcompose.h"

#include "platform/delivery.h"
#include "platform/posix/encoding.h"

namespace lumiko::desktop {

namespace {
// The one character a complete GB18030 sequence stands for; 0 when the
// sequence names no character.
char32_t decode(const std::string& bytes) {
    if (posix::gbkValidPrefix(bytes) != bytes.size()) return 0;
    const char32_t cp = firstCodePoint(posix::gbkToUtf8(bytes));
    return cp == 0xFFFD ? 0 : cp;
}
}  // namespace

std::u32string composeCharacters(const Text& gbk) {
    std::u32string out;
    for (const std::string& character : gbkCharacters(gbk))
        if (const char32_t cp = decode(character)) out.push_back(cp);
    return out;
}

char32_t firstCodePoint(const std::string& s) {
    if (s.empty()) return 0;
    const auto b0 = static_cast<unsigned char>(s[0]);
    int len = 0;
    char32_t cp = 0;
    if (b0 < 0x80) return b0;
    if ((b0 & 0xE0) == 0xC0) len = 2, cp = b0 & 0x1F;
    else if ((b0 & 0xF0) == 0xE0) len = 3, cp = b0 & 0x0F;
    else if ((b0 & 0xF8) == 0xF0) len = 4, cp = b0 & 0x07;
    else return 0;
    if (s.size() < static_cast<size_t>(len)) return 0;
    for (int i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[static_cast<size_t>(i)]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    return cp;
}

}  // namespace lumiko::desktop

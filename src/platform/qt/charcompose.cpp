#include "platform/qt/charcompose.h"

#include "platform/posix/encoding.h"

namespace lumiko::desktop {

namespace {
bool isLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool isTrail(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }
bool isDigit(unsigned char b) { return b >= 0x30 && b <= 0x39; }

// The one character a complete GB18030 sequence stands for; 0 when the
// sequence names no character.
char32_t decode(const std::string& bytes) {
    if (posix::gbkValidPrefix(bytes) != bytes.size()) return 0;
    const char32_t cp = firstCodePoint(posix::gbkToUtf8(bytes));
    return cp == 0xFFFD ? 0 : cp;
}
}  // namespace

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

std::vector<char32_t> CharComposer::startWith(unsigned char byte) {
    buffer_.clear();
    if (byte < 0x80) return {static_cast<char32_t>(byte)};
    if (isLead(byte)) buffer_.push_back(static_cast<char>(byte));
    return {};  // 0x80 and 0xFF begin no character
}

std::vector<char32_t> CharComposer::feed(std::uint64_t window, unsigned char byte) {
    if (window != window_) {
        buffer_.clear();
        window_ = window;
    }
    switch (buffer_.size()) {
    case 0: return startWith(byte);
    case 1:
        if (isTrail(byte)) {
            buffer_.push_back(static_cast<char>(byte));
            const char32_t cp = decode(buffer_);
            buffer_.clear();
            if (cp) return {cp};
            return {};
        }
        if (isDigit(byte)) {  // the second byte of a four-byte sequence
            buffer_.push_back(static_cast<char>(byte));
            return {};
        }
        return startWith(byte);
    case 2:
        if (isLead(byte)) {
            buffer_.push_back(static_cast<char>(byte));
            return {};
        }
        return startWith(byte);
    default:
        if (isDigit(byte)) {
            buffer_.push_back(static_cast<char>(byte));
            const char32_t cp = decode(buffer_);
            buffer_.clear();
            if (cp) return {cp};
            return {};
        }
        return startWith(byte);
    }
}

}  // namespace lumiko::desktop

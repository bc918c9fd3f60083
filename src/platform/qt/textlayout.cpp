#include "platform/qt/textlayout.h"

#include "platform/posix/encoding.h"
#include "platform/qt/charcompose.h"

namespace lumiko::desktop {

namespace {

struct Char {
    size_t bytes;
    char32_t code;
};

// The character that begins at `pos`.
Char charAt(std::string_view s, size_t pos) {
    const auto b = static_cast<unsigned char>(s[pos]);
    if (b < 0x80) return {1, b};
    for (size_t len : {size_t{2}, size_t{4}}) {
        if (pos + len > s.size()) continue;
        const std::string_view piece = s.substr(pos, len);
        if (posix::gbkValidPrefix(piece) != len) continue;
        const char32_t cp = firstCodePoint(posix::gbkToUtf8(piece));
        if (cp != 0) return {len, cp};
    }
    return {1, 0xFFFD};
}

}  // namespace

TextLayout layoutCells(std::string_view gbk, int em, double width, bool wrap) {
    auto widthOf = [em](int cells) { return cells == 1 ? halfWidth(em) : fullWidth(em); };
    TextLayout out;
    int line = 0;
    size_t lineStart = 0;  // index in out.chars of the first character of the line
    double x = 0;
    auto newLine = [&] {
        ++line;
        lineStart = out.chars.size();
        x = 0;
    };

    for (size_t pos = 0; pos < gbk.size();) {
        const char c = gbk[pos];
        if (c == '\r' || c == '\n') {
            pos += (c == '\r' && pos + 1 < gbk.size() && gbk[pos + 1] == '\n') ? 2 : 1;
            newLine();
            continue;
        }
        const Char ch = charAt(gbk, pos);
        pos += ch.bytes;
        const int cells = ch.bytes == 1 ? 1 : 2;
        const double w = widthOf(cells);

        if (wrap && x > 0 && x + w > width + 1e-9) {
            if (ch.code == ' ') {
                newLine();
            } else {
                // Break after the line's last blank; the word after it moves.
                size_t blank = out.chars.size();
                for (size_t i = out.chars.size(); i > lineStart; --i)
                    if (out.chars[i - 1].code == ' ') {
                        blank = i - 1;
                        break;
                    }
                if (blank == out.chars.size()) {
                    newLine();  // one long word: break inside it
                } else {
                    const size_t first = blank + 1;
                    ++line;
                    lineStart = first;
                    x = 0;
                    for (size_t i = first; i < out.chars.size(); ++i) {
                        out.chars[i].line = line;
                        out.chars[i].x = x;
                        x += widthOf(out.chars[i].cells);
                    }
                }
            }
        }
        out.chars.push_back({x, line, cells, ch.code});
        x += w;
    }
    out.lines = gbk.empty() ? 0 : line + 1;
    return out;
}

}  // namespace lumiko::desktop

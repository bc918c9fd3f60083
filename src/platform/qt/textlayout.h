// Where each character of a caption goes. The panel's hit tests (the grid's
// columns, the strip's slots, the blanks at the head of the information
// strip) count bytes of GBK text in the metrics of the panel's Song face: a
// Chinese character is one em wide, an ASCII character or a blank half an em
// rounded up to a whole pixel. Captions are laid out in those widths,
// whatever the proportions of the font that draws them, and wrapped the way
// the panel's labels wrap: a line that runs past the right edge breaks after
// its last blank, and a blank that itself runs past the edge starts the next
// line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumiko::desktop {

struct PlacedChar {
    double x = 0;      // left edge
    int line = 0;      // from 0
    int cells = 1;     // 1 for a half-width (ASCII) character, 2 for a full-width one
    char32_t code = 0; // Unicode code point; ' ' for a blank
};

struct TextLayout {
    std::vector<PlacedChar> chars;
    int lines = 0;  // lines laid out, empty ones included
};

// Width in pixels of a half-width and of a full-width character.
inline int halfWidth(int em) { return (em + 1) / 2; }
inline int fullWidth(int em) { return em; }

// Lays out a GBK text in a font of `em` pixels in a box `width` pixels wide;
// line k begins at k x em. Without `wrap` lines end only at line breaks
// ("\r\n", "\r" or "\n"). A byte that begins no valid character is a
// half-width U+FFFD.
TextLayout layoutCells(std::string_view gbk, int em, double width, bool wrap);

}  // namespace lumiko::desktop

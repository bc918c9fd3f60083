#include "platform/look.h"

#include <algorithm>

namespace lumiko::look {

namespace {
Text caption(const CandidateList& items, bool rows, bool closing) {
    Text t;
    int n = 0;
    for (const Candidate& c : items) {
        ++n;
        t.append(c.text);
        t.append(rows && (n == 8 || n == 16 || n == 24) ? " \r\n" : " ");
    }
    if (closing && !t.empty()) t.push_back(' ');
    return t;
}
}  // namespace

Text gridCaption(const CandidateList& items) { return caption(items, true, true); }
Text stripPageCaption(const CandidateList& items) { return caption(items, false, true); }
Text stripCaption(const CandidateList& items) { return caption(items, false, false); }

CandidateList stripItems(std::string_view text) {
    CandidateList items;
    size_t start = 0;
    while (start < text.size()) {
        const size_t blank = std::min(text.find(' ', start), text.size());
        if (blank > start) items.push_back(Candidate{Text(text.substr(start, blank - start)), Text()});
        start = blank + 1;
    }
    return items;
}

GridBands gridBands(std::string_view grid) {
    GridBands b;
    const int fallback = 8 * static_cast<int>(grid.size());
    // Once a blank is missing, every later edge and position stays unfound,
    // so that no column past the last item can be hovered or picked.
    int pos = findText(grid, " ", 1);
    b.wordEdges[0] = 16 * pos;
    for (size_t k = 1; k < b.wordEdges.size(); ++k) {
        if (pos >= 1) pos = findText(grid, " ", pos + 1);
        b.wordEdges[k] = pos >= 1 ? 16 * pos : fallback;
    }
    pos = 0;
    for (auto& blank : b.blankPositions) {
        pos = pos >= 0 ? findText(grid, " ", pos + 1) : -1;
        blank = pos;
    }
    return b;
}

int gridItemIndex(int row, int column) {
    if (row < 1 || row > 4 || column < 1 || column > 8) return -1;
    return 8 * (row - 1) + column - 1;
}

int pixelsOfPoints(int points) { return (points * 96 + 36) / 72; }

Style styleOf(const Control& c) {
    Style s;
    s.textColor = c.color;
    s.fontPixels = pixelsOfPoints(c.fontSize);
    s.greyed = !c.enabled;
    switch (c.kind) {
    case ControlKind::Label:
        // The background label carries the window's colour; the grid and
        // other labels sit on it with the same colour.
        s.fill = true;
        s.background = kPanelColor;
        s.multiLine = true;
        break;
    case ControlKind::TransparentLabel:
        s.multiLine = true;
        if (c.pointer == Pointer::Hand && c.color == 0) s.textColor = kLinkColor;
        break;
    case ControlKind::PictureButton:
    case ControlKind::Button:
        s.fill = true;
        s.background = kFaceColor;
        s.frame = Frame::Raised;
        s.centered = true;
        break;
    case ControlKind::PictureBox:
        s.fill = true;
        s.background = kPanelColor;
        s.drawCaption = false;
        break;
    case ControlKind::EditBox:
    case ControlKind::ListBox:
        s.fill = true;
        s.background = kWhite;
        s.frame = Frame::Sunken;
        s.multiLine = c.kind == ControlKind::EditBox;
        break;
    case ControlKind::Grid:
        s.fill = true;
        s.background = kWhite;
        s.frame = Frame::Flat;
        s.centered = true;
        break;
    case ControlKind::WebBrowser:
        s.fill = true;
        s.background = kWhite;
        s.drawCaption = false;
        break;
    case ControlKind::Hyperlink:
        s.textColor = kLinkColor;
        break;
    case ControlKind::Timer:
        s.drawCaption = false;
        break;
    }
    if (c.name == "定位透明标签") s.alignBottom = true;
    if (s.greyed) s.textColor = kGreyText;
    return s;
}

std::vector<Text> captionLines(const Control& c) {
    const Text& t = c.text();
    const bool label = c.kind == ControlKind::Label || c.kind == ControlKind::TransparentLabel;
    std::vector<Text> lines;
    Text line;
    for (size_t i = 0; i < t.size(); ++i) {
        const char ch = t[i];
        if (ch == '\n' || (ch == '\r' && label)) {
            lines.push_back(std::move(line));
            line.clear();
        } else if (ch == '\r' && i + 1 < t.size() && t[i + 1] == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            ++i;
        } else {
            line.push_back(ch);
        }
    }
    lines.push_back(std::move(line));
    return lines;
}

bool gridCellAt(const Control& grid, int x, int y, int& row, int& col) {
    if (x < 0 || y < 0 || x >= grid.width || y >= grid.height) return false;
    const int r = y / kGridCell, c = x / kGridCell;
    if (r >= Control::kGridRows || c >= Control::kGridCols) return false;
    row = r;
    col = c;
    return true;
}

int listLineAt(const Control& list, int y, int lineHeight, int firstShown) {
    if (lineHeight <= 0 || y < 0 || y >= list.height) return -1;
    const int line = firstShown + y / lineHeight;
    return line < static_cast<int>(list.items.size()) ? line : -1;
}

int listVisibleLines(const Control& list, int lineHeight) {
    return lineHeight > 0 ? list.height / lineHeight : 0;
}

}  // namespace lumiko::look

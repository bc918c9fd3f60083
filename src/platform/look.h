// How the desktop front-ends draw the controls of a form, and which cell or
// line of a grid or list box a pointer position falls on. Both painters take
// their sizes from here (points to pixels, the palette grid's cells), so
// that the panel's items sit where the core and the shell's hit tests expect
// them; the Windows panel also paints each kind of
// control in the colours and frames of styleOf(), which the Linux panel
// draws in a look of its own.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/candidates.h"
#include "platform/controls.h"

namespace lumiko::look {

enum class Frame { None, Raised, Sunken, Flat };

struct Style {
    bool fill = false;            // paint the background
    std::uint32_t background = 0; // blue-green-red
    Frame frame = Frame::None;
    std::uint32_t textColor = 0;  // blue-green-red
    int fontPixels = 12;          // character height in pixels
    bool centered = false;        // caption centred in the control
    bool multiLine = false;       // caption broken at "\r\n" (and wrapped)
    bool drawCaption = true;
    bool greyed = false;          // disabled
    bool alignBottom = false;     // caption on the control's last line (the grid highlight)
};

// The face every caption is drawn in; front-ends fall back to any font with
// the Chinese characters when it is missing. GBK: 宋体.
inline constexpr const char* kFontFace = "\xcb\xce\xcc\xe5";

inline constexpr std::uint32_t kPanelColor = 0xF4ECE4;  // window and picture boxes
inline constexpr std::uint32_t kFaceColor = 0xFAF6F2;   // button faces
inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kGreyText = 0x808080;
inline constexpr std::uint32_t kLinkColor = 0xCC0000;   // blue
inline constexpr std::uint32_t kSelection = 0xD77800;   // list selection background

// The lines of a caption. A label breaks at every "\r" and at every "\n",
// so the "\r\n" between two grid rows leaves an empty line between them and
// the rows stand two lines apart, where the grid's pointer bands expect them;
// edit boxes and list lines break once at "\r\n" (or a lone "\n").
std::vector<Text> captionLines(const Control& c);

// Points (the controls' font sizes) to pixels at 96 dots per inch.
int pixelsOfPoints(int points);

Style styleOf(const Control& c);

// The captions the panel's candidate lists are drawn with. The grid: every
// item followed by a blank, the blank after the 8th, 16th and 24th followed
// by a row break, and one more blank after the last when the page is not
// empty.
Text gridCaption(const CandidateList& items);
// A page of the strip's own paged list: the same without row breaks.
Text stripPageCaption(const CandidateList& items);
// The strip's word hints or basic strokes: every item followed by a blank.
Text stripCaption(const CandidateList& items);
// The items of a caption drawn by stripCaption() (texts between blanks).
CandidateList stripItems(std::string_view caption);

// Where the grid's items stand, from its caption: the right edge of the
// first nine items of the first row including their blank (16 units a byte,
// compared with the pointer's x in pixels; once a blank is missing, 8 units
// a byte of the whole caption and nothing further), and the byte positions
// (from 1) of the first 30 blanks, -1 where there is none.
struct GridBands {
    std::array<int, 9> wordEdges{};
    std::array<int, 30> blankPositions{};
};
GridBands gridBands(std::string_view caption);
// The item under a grid cell: row 1 to 4 and column 1 to 8 name item
// 8 × (row − 1) + column; -1 outside.
int gridItemIndex(int row, int column);

// Palette grid: 10 rows of 12 cells, 25 × 25 pixels each.
inline constexpr int kGridCell = 25;
// The cell at (x, y) of the grid's own coordinates; false outside every cell.
bool gridCellAt(const Control& grid, int x, int y, int& row, int& col);

// The list line at y of the list box's own coordinates, lines of
// `lineHeight` pixels starting with line `firstShown`; -1 below the last
// line or outside the box.
int listLineAt(const Control& list, int y, int lineHeight, int firstShown = 0);

// Lines of a list box that fit into its height.
int listVisibleLines(const Control& list, int lineHeight);

}  // namespace lumiko::look

// Draws the controls of a form: the panel's look.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <map>
#include <vector>

#include "platform/controls.h"
#include "platform/shell.h"

namespace lumiko::desktop {

// Font families: a Song (serif) face for the characters the user picks, a
// sans face for everything else. Both come from Debian's fonts-noto-cjk and
// cover the 0xFE block of GBK (𠂇, 龴, …).
inline constexpr const char* kSongFamily = "Noto Serif CJK SC";
inline constexpr const char* kSansFamily = "Noto Sans CJK SC";

QColor colorOf(std::uint32_t bgr);
QFont panelFont(const char* family, int pixels);

// The controls that have a look of their own.
struct Roles {
    const Control* highlight = nullptr;  // drawn as the grid's highlight
    const Control* closeBox = nullptr;   // red when hovered
    const Control* pageUp = nullptr;     // an arrow up; other empty keys point down
    const Control* palette = nullptr;    // the palette sheet over the candidates
    std::vector<const Control*> song;    // captions in the Song face
};

// A built-in picture or icon as a pixmap. Icons of 24 bits a pixel keep
// their transparency in the AND mask, which is applied here.
QPixmap loadPicture(const Picture& picture);

class PanelPainter {
public:
    void paintForm(QPainter& p, const Form& form, const PointerState& pointer, const Roles& roles);

    // Draws a caption on the byte-cell grid, wrapped or not, clipped to `box`.
    static void drawCells(QPainter& p, const QRectF& box, const Text& gbk, const QFont& font, int em,
                          const QColor& color, bool wrap);

    const QPixmap& pixmap(const Picture& picture);

private:
    void paintControl(QPainter& p, const Control& c, const PointerState& pointer, const Roles& roles);
    void paintButton(QPainter& p, const Control& c, const QRectF& r, const PointerState& pointer,
                     const Roles& roles);
    void paintGrid(QPainter& p, const Control& c, const QRectF& r, const PointerState& pointer);
    void paintList(QPainter& p, const Control& c, const QRectF& r);

    std::map<const void*, QPixmap> pixmaps_;
};

// How the list box's lines are laid out, for drawing and for the shell's
// hit test.
inline constexpr ListMetrics kListLook{18, 1};

}  // namespace lumiko::desktop

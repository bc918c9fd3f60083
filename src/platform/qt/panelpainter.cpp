#include "platform/qt/panelpainter.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/look.h"
#include "platform/posix/encoding.h"
#include "platform/qt/gbkstring.h"
#include "platform/qt/textlayout.h"

namespace lumiko::desktop {

using look::kGridCell;

namespace {
// The panel's colours.
const QColor kBorder(0xb4, 0xc1, 0xd4);
const QColor kHoverFill(0xd9, 0xe7, 0xfa);
const QColor kHoverBorder(0x6f, 0x9a, 0xd8);
const QColor kPressedFill(0xbf, 0xd4, 0xf2);
const QColor kAccent(0x2f, 0x6c, 0xd4);
const QColor kDisabled(0x9a, 0xa3, 0xaf);
const QColor kText(0x1d, 0x23, 0x2b);

// The ideographic em box of the CJK faces spans 0.88 em above the baseline
// and 0.12 em below it, so a character drawn from a top edge sits exactly in
// its cells.
constexpr double kAscentOfEm = 0.88;


QRectF absRect(const Control& c) { return QRectF(c.absLeft(), c.absTop(), c.width, c.height); }

// The part of the form a control can show: its parents clip it.
QRectF visibleRect(const Control& c) {
    QRectF r = absRect(c);
    for (const Control* p = c.parent; p; p = p->parent) r = r.intersected(absRect(*p));
    return r;
}

// Draws a one-line caption centred in a rectangle.
void drawCentered(QPainter& p, const QRectF& r, const QString& s, const QFont& font, const QColor& color) {
    const QFontMetricsF fm(font);
    const double w = fm.horizontalAdvance(s);
    const double em = font.pixelSize();
    p.setFont(font);
    p.setPen(color);
    p.drawText(QPointF(r.left() + (r.width() - w) / 2, r.top() + r.height() / 2 + (kAscentOfEm - 0.5) * em), s);
}

void arrow(QPainter& p, const QRectF& r, bool up, const QColor& color) {
    const QPointF c = r.center();
    const double s = std::min(r.width(), r.height()) * 0.22;
    QPainterPath path;
    if (up) {
        path.moveTo(c.x() - s * 1.3, c.y() + s * 0.6);
        path.lineTo(c.x(), c.y() - s * 0.8);
        path.lineTo(c.x() + s * 1.3, c.y() + s * 0.6);
    } else {
        path.moveTo(c.x() - s * 1.3, c.y() - s * 0.6);
        path.lineTo(c.x(), c.y() + s * 0.8);
        path.lineTo(c.x() + s * 1.3, c.y() - s * 0.6);
    }
    p.setPen(QPen(color, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

}  // namespace

QColor colorOf(std::uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

QFont panelFont(const char* family, int pixels) {
    QFont f(QString::fromUtf8(family));
    f.setPixelSize(std::max(pixels, 1));
    f.setStyleStrategy(QFont::PreferAntialias);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

void PanelPainter::drawCells(QPainter& p, const QRectF& box, const Text& gbk, const QFont& font, int em,
                             const QColor& color, bool wrap) {
    const TextLayout layout = layoutCells(gbk, em, box.width(), wrap);
    const QFontMetricsF fm(font);
    p.setFont(font);
    p.setPen(color);
    for (const PlacedChar& ch : layout.chars) {
        if (ch.code == ' ') continue;
        const double top = box.top() + ch.line * em;
        if (top >= box.bottom()) break;
        const char32_t code = ch.code;
        const QString s = QString::fromUcs4(&code, 1);
        const double w = ch.cells == 1 ? halfWidth(em) : fullWidth(em);
        const double adv = fm.horizontalAdvance(s);
        p.drawText(QPointF(box.left() + ch.x + (w - adv) / 2, top + kAscentOfEm * em), s);
    }
}

namespace {
std::uint32_t le(std::string_view b, size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<size_t>(i)]);
    return v;
}

// Makes the pixels that the icon's AND mask marks transparent. An icon file
// holds a directory, then a bitmap header, the colours (bottom row first) and
// the mask, one bit a pixel, rows padded to four bytes.
void applyIconMask(QImage& image, std::string_view ico) {
    if (ico.size() < 22 || le(ico, 0, 4) != 0x00010000u) return;
    const size_t at = le(ico, 18, 4);
    if (at + 40 > ico.size()) return;
    const int w = static_cast<int>(le(ico, at + 4, 4)), h = static_cast<int>(le(ico, at + 8, 4)) / 2;
    const int bpp = static_cast<int>(le(ico, at + 14, 2));
    if (bpp != 24 || w != image.width() || h != image.height()) return;
    const size_t colourStride = static_cast<size_t>((w * 3 + 3) / 4 * 4);
    const size_t maskStride = static_cast<size_t>((w + 31) / 32 * 4);
    const size_t mask = at + 40 + colourStride * static_cast<size_t>(h);
    if (mask + maskStride * static_cast<size_t>(h) > ico.size()) return;
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto bits = static_cast<unsigned char>(ico[mask + maskStride * static_cast<size_t>(h - 1 - y) + static_cast<size_t>(x / 8)]);
            if (bits & (0x80 >> (x % 8))) image.setPixel(x, y, 0);
        }
}
}  // namespace

QPixmap loadPicture(const Picture& picture) {
    QImage image;
    image.loadFromData(reinterpret_cast<const uchar*>(picture.bytes.data()),
                       static_cast<int>(picture.bytes.size()));
    if (!image.isNull()) applyIconMask(image, picture.bytes);
    return QPixmap::fromImage(image);
}

const QPixmap& PanelPainter::pixmap(const Picture& picture) {
    auto it = pixmaps_.find(picture.bytes.data());
    if (it != pixmaps_.end()) return it->second;
    return pixmaps_.emplace(picture.bytes.data(), loadPicture(picture)).first->second;
}

void PanelPainter::paintForm(QPainter& p, const Form& form, const PointerState& pointer, const Roles& roles) {
    for (const auto& c : form.controls()) {
        if (!c->shown()) continue;
        const QRectF clip = visibleRect(*c);
        if (clip.isEmpty()) continue;
        p.save();
        p.setClipRect(clip);
        paintControl(p, *c, pointer, roles);
        p.restore();
    }
}

void PanelPainter::paintControl(QPainter& p, const Control& c, const PointerState& pointer, const Roles& roles) {
    const QRectF r = absRect(c);
    const bool song = std::find(roles.song.begin(), roles.song.end(), &c) != roles.song.end();
    const int em = look::pixelsOfPoints(c.fontSize);
    const QFont font = panelFont(song ? kSongFamily : kSansFamily, em);
    const QColor textColor = c.enabled ? colorOf(c.color) : kDisabled;

    switch (c.kind) {
    case ControlKind::Timer:
    case ControlKind::WebBrowser:
    case ControlKind::Hyperlink: return;

    case ControlKind::PictureBox:
        if (&c == roles.palette) {
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(kHoverBorder, 1));
            p.setBrush(QColor(0xf8, 0xfa, 0xfd));
            p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        } else if (c.parent) {  // the candidate area: a white sheet
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(kBorder, 1));
            p.setBrush(Qt::white);
            p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        } else {  // the keypad area
            p.setPen(QPen(kBorder, 1));
            p.drawLine(QPointF(r.left() + 4, r.top() + 0.5), QPointF(r.right() - 4, r.top() + 0.5));
        }
        return;

    case ControlKind::Label:
    case ControlKind::TransparentLabel:
        if (&c == roles.highlight) {
            p.setRenderHint(QPainter::Antialiasing);
            QColor fill = kAccent;
            fill.setAlpha(34);
            QColor edge = kAccent;
            edge.setAlpha(150);
            p.setPen(QPen(edge, 1));
            p.setBrush(fill);
            p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
            // The caption's underscores, as one bar under the item.
            p.fillRect(QRectF(r.left() + 6, r.bottom() - 4, r.width() - 12, 2), kAccent);
            return;
        }
        if (c.picture) {
            const QPixmap& pm = pixmap(*c.picture);
            if (!pm.isNull()) p.drawPixmap(QRectF(r.left() + 4, r.top() + 1, 32, 32), pm, QRectF(pm.rect()));
        }
        if (c.pointer == Pointer::Hand && c.parent == nullptr && c.kind == ControlKind::TransparentLabel) {
            QFont link = font;
            link.setUnderline(true);
            drawCells(p, r, c.text(), link, em, c.enabled ? kAccent : kDisabled, true);
            return;
        }
        drawCells(p, r, c.text(), font, em, textColor, true);
        return;

    case ControlKind::PictureButton:
    case ControlKind::Button: paintButton(p, c, r, pointer, roles); return;

    case ControlKind::EditBox:
        p.setPen(QPen(kBorder, 1));
        p.setBrush(c.width <= 40 ? QColor(0xea, 0xf1, 0xfb) : QColor(Qt::white));
        p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
        drawCells(p, r.adjusted(1, 3, -1, -1), c.text(), font, em, textColor, false);
        return;

    case ControlKind::ListBox: paintList(p, c, r); return;
    case ControlKind::Grid: paintGrid(p, c, r, pointer); return;
    }
}

void PanelPainter::paintButton(QPainter& p, const Control& c, const QRectF& r, const PointerState& pointer,
                               const Roles& roles) {
    const bool hovered = pointer.hovered == &c && c.enabled;
    const bool pressed = pointer.pressed == &c && hovered;
    const bool closeBox = &c == roles.closeBox;
    p.setRenderHint(QPainter::Antialiasing);

    if (c.picture && c.width >= 32) {
        // A keypad key: its picture is the key's face.
        const QPixmap& pm = pixmap(*c.picture);
        QPainterPath clip;
        clip.addRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        p.save();
        p.setClipPath(clip, Qt::IntersectClip);
        p.drawPixmap(r, pm, QRectF(pm.rect()));
        if (hovered) p.fillRect(r, QColor(0x2f, 0x6c, 0xd4, pressed ? 70 : 30));
        p.restore();
        p.setPen(QPen(hovered ? kHoverBorder : kBorder, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        return;
    }

    if (hovered) {
        p.setPen(QPen(closeBox ? QColor(0xc4, 0x2b, 0x1c) : kHoverBorder, 1));
        p.setBrush(closeBox ? QColor(0xe8, 0x48, 0x35) : (pressed ? kPressedFill : kHoverFill));
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    } else if (c.width == 32 && c.height == 32) {
        // The page buttons: always framed, so they read as buttons.
        p.setPen(QPen(kBorder, 1));
        p.setBrush(QColor(0xf2, 0xf5, 0xfa));
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    } else if (!c.picture && c.width >= 32 && c.width < 80 && !c.text().empty() && &c != roles.closeBox) {
        // Mode and command buttons: a light key under the caption.
        p.setPen(QPen(QColor(0xc9, 0xd3, 0xe1), 1));
        p.setBrush(QColor(0xfb, 0xfc, 0xfe));
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }

    if (c.picture) {
        const QPixmap& pm = pixmap(*c.picture);
        const QSizeF size = QSizeF(pm.size()).scaled(r.size() - QSizeF(4, 4), Qt::KeepAspectRatio);
        const QSizeF draw = size.width() >= pm.width() ? QSizeF(pm.size()) : size;
        p.drawPixmap(QRectF(r.center() - QPointF(draw.width() / 2, draw.height() / 2), draw), pm,
                     QRectF(pm.rect()));
    }
    const QColor text = !c.enabled ? kDisabled : (hovered && closeBox) ? QColor(Qt::white) : kText;
    if (c.text().empty()) {
        if (!c.picture) arrow(p, r, &c == roles.pageUp, hovered ? kAccent : QColor(0x4a, 0x5a, 0x70));
        return;
    }
    drawCentered(p, r, fromGbk(c.text()), panelFont(kSansFamily, look::pixelsOfPoints(c.fontSize)), text);
}

void PanelPainter::paintGrid(QPainter& p, const Control& c, const QRectF& r, const PointerState& pointer) {
    p.fillRect(r, Qt::white);
    const QRectF cells(r.left(), r.top(), Control::kGridCols * kGridCell, Control::kGridRows * kGridCell);
    if (&c == pointer.hovered && pointer.gridRow >= 0 && pointer.gridCol >= 0)
        p.fillRect(QRectF(cells.left() + pointer.gridCol * kGridCell, cells.top() + pointer.gridRow * kGridCell,
                          kGridCell, kGridCell),
                   kHoverFill);
    p.setPen(QPen(QColor(0xdc, 0xe3, 0xed), 1));
    for (int i = 0; i <= Control::kGridCols; ++i)
        p.drawLine(QPointF(cells.left() + i * kGridCell + 0.5, cells.top()),
                   QPointF(cells.left() + i * kGridCell + 0.5, cells.bottom()));
    for (int j = 0; j <= Control::kGridRows; ++j)
        p.drawLine(QPointF(cells.left(), cells.top() + j * kGridCell + 0.5),
                   QPointF(cells.right(), cells.top() + j * kGridCell + 0.5));
    for (int row = 0; row < Control::kGridRows; ++row)
        for (int col = 0; col < Control::kGridCols; ++col) {
            const Text& t = c.cells[static_cast<size_t>(row)][static_cast<size_t>(col)];
            if (t.empty()) continue;
            const QString s = fromGbk(t).trimmed();
            QFont f = panelFont(kSansFamily, 15);
            while (QFontMetricsF(f).horizontalAdvance(s) > kGridCell - 3 && f.pixelSize() > 8)
                f.setPixelSize(f.pixelSize() - 1);
            drawCentered(p, QRectF(cells.left() + col * kGridCell, cells.top() + row * kGridCell, kGridCell, kGridCell),
                         s, f, kText);
        }
}

void PanelPainter::paintList(QPainter& p, const Control& c, const QRectF& r) {
    p.setPen(QPen(kBorder, 1));
    p.setBrush(Qt::white);
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    const int em = look::pixelsOfPoints(10);
    const QFont font = panelFont(kSansFamily, em);
    for (size_t i = 0; i < c.items.size(); ++i) {
        const QRectF item(r.left() + 1, r.top() + kListLook.inset + static_cast<double>(i) * kListLook.line, r.width() - 2,
                          kListLook.line);
        if (item.top() >= r.bottom()) break;
        const bool selected = static_cast<int>(i) == c.selected;
        if (selected) p.fillRect(item, kAccent);
        drawCells(p, item.adjusted(6, (kListLook.line - em) / 2.0, 0, 0), c.items[i], font, em,
                  selected ? QColor(Qt::white) : kText, false);
    }
}

}  // namespace lumiko::desktop

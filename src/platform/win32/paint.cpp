#include "platform/win32/paint.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/look.h"
#include "platform/win32/text.h"

namespace lumiko::win32 {

namespace {

int CALLBACK faceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool hasFace(const wchar_t* face) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &lf, faceFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

COLORREF colorOf(std::uint32_t bgr) { return static_cast<COLORREF>(bgr & 0xFFFFFF); }

void fill(HDC dc, const RECT& r, std::uint32_t bgr) {
    HBRUSH b = CreateSolidBrush(colorOf(bgr));
    FillRect(dc, &r, b);
    DeleteObject(b);
}

void frame(HDC dc, RECT r, look::Frame f) {
    switch (f) {
    case look::Frame::None: break;
    case look::Frame::Raised: DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT); break;
    case look::Frame::Sunken: DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT); break;
    case look::Frame::Flat: FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH))); break;
    }
}

// The DIB inside a BMP file.
bool dibOf(const Picture& p, const BITMAPINFO*& info, const void*& bits) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(p.bytes.data());
    if (p.bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    BITMAPFILEHEADER fh;
    std::memcpy(&fh, bytes, sizeof fh);
    if (fh.bfOffBits >= p.bytes.size()) return false;
    info = reinterpret_cast<const BITMAPINFO*>(bytes + sizeof(BITMAPFILEHEADER));
    bits = bytes + fh.bfOffBits;
    return true;
}

}  // namespace

const wchar_t* captionFace() {
    static const wchar_t* face = [] {
        for (const wchar_t* f : {L"宋体", L"SimSun", L"NSimSun", L"Microsoft YaHei", L"WenQuanYi Micro Hei",
                                 L"Noto Sans CJK SC", L"Droid Sans Fallback"})
            if (hasFace(f)) return f;
        return L"宋体";  // the system's font mapper picks a Chinese face
    }();
    return face;
}

Painter::~Painter() {
    for (auto& [size, f] : fonts_) DeleteObject(f);
    for (auto& [key, i] : icons_) DestroyIcon(i);
}

HFONT Painter::font(int pixels) {
    auto& f = fonts_[pixels];
    if (!f)
        f = CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, captionFace());
    return f;
}

HICON Painter::icon(const Picture& p, int size) {
    auto& i = icons_[{p.bytes.data(), size}];
    if (!i && p.bytes.size() > 6) {
        auto* dir = reinterpret_cast<PBYTE>(const_cast<char*>(p.bytes.data()));
        const int id = LookupIconIdFromDirectoryEx(dir, TRUE, size, size, LR_DEFAULTCOLOR);
        if (id > 0 && static_cast<size_t>(id) < p.bytes.size()) {
            // The directory entry that matches tells the image's size.
            const WORD count = *reinterpret_cast<const WORD*>(dir + 4);
            DWORD bytes = 0;
            for (WORD k = 0; k < count; ++k) {
                const BYTE* e = dir + 6 + 16 * k;
                if (*reinterpret_cast<const DWORD*>(e + 12) == static_cast<DWORD>(id))
                    bytes = *reinterpret_cast<const DWORD*>(e + 8);
            }
            if (bytes > 0 && id + bytes <= p.bytes.size())
                i = CreateIconFromResourceEx(dir + id, bytes, TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR);
        }
    }
    return i;
}

RECT Painter::rectOf(int left, int top, int width, int height) const {
    return RECT{px(left), px(top), px(left + width), px(top + height)};
}

// The rectangle of a control in the window's client area, cut by every parent.
bool Painter::visibleRect(const Control& c, RECT& r) const {
    r = rectOf(c.absLeft(), c.absTop(), c.width, c.height);
    for (const Control* p = c.parent; p; p = p->parent) {
        const RECT pr = rectOf(p->absLeft(), p->absTop(), p->width, p->height);
        if (!IntersectRect(&r, &r, &pr)) return false;
    }
    return !IsRectEmpty(&r);
}

void Painter::paintPicture(HDC dc, const Picture& p, const RECT& box, bool centred) {
    const BITMAPINFO* info = nullptr;
    const void* bits = nullptr;
    if (dibOf(p, info, bits)) {
        const int w = info->bmiHeader.biWidth, h = std::abs(info->bmiHeader.biHeight);
        const int sw = px(w), sh = px(h);
        const int x = centred ? (box.left + box.right - sw) / 2 : box.left;
        const int y = centred ? (box.top + box.bottom - sh) / 2 : box.top;
        // Enlarged pictures are averaged, not repeated pixel by pixel.
        if (sw != w || sh != h) {
            SetStretchBltMode(dc, HALFTONE);
            SetBrushOrgEx(dc, 0, 0, nullptr);
        }
        StretchDIBits(dc, x, y, sw, sh, 0, 0, w, h, bits, info, DIB_RGB_COLORS, SRCCOPY);
        return;
    }
    // The icon's size in the form's pixels, drawn from its image nearest to
    // the scaled size.
    const int formSize = px(32) <= std::min(box.right - box.left, box.bottom - box.top) ? 32 : 16;
    const int size = px(formSize);
    if (HICON i = icon(p, size)) {
        const int x = centred ? (box.left + box.right - size) / 2 : box.left;
        const int y = centred ? (box.top + box.bottom - size) / 2 : box.top;
        DrawIconEx(dc, x, y, i, size, size, 0, nullptr, DI_NORMAL);
    }
}

void Painter::paintControl(HDC dc, const Control& c) {
    RECT clip;
    if (!visibleRect(c, clip)) return;
    const RECT r = rectOf(c.absLeft(), c.absTop(), c.width, c.height);
    const int left = c.absLeft(), top = c.absTop();  // in the form's pixels
    const look::Style s = look::styleOf(c);

    const int saved = SaveDC(dc);
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    if (s.fill) fill(dc, r, s.background);
    if (c.picture) paintPicture(dc, *c.picture, r, c.kind != ControlKind::Label);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colorOf(s.textColor));
    HFONT f = font(px(s.fontPixels));
    SelectObject(dc, f);
    // Lines stand one character height apart, whatever the face's own
    // leading, so that the grid's rows stay where its pointer bands are.
    const int lineHeight = px(s.fontPixels);
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);

    if (c.kind == ControlKind::Grid) {
        HPEN pen = CreatePen(PS_SOLID, std::max(1, px(1)), RGB(0xC0, 0xC0, 0xC0));
        HGDIOBJ old = SelectObject(dc, pen);
        for (int row = 0; row < Control::kGridRows; ++row)
            for (int col = 0; col < Control::kGridCols; ++col) {
                RECT cell = rectOf(left + col * look::kGridCell, top + row * look::kGridCell, look::kGridCell,
                                   look::kGridCell);
                MoveToEx(dc, cell.right - 1, cell.top, nullptr);
                LineTo(dc, cell.right - 1, cell.bottom - 1);
                LineTo(dc, cell.left - 1, cell.bottom - 1);
                const std::wstring t = wideOfGbk(c.cells[static_cast<size_t>(row)][static_cast<size_t>(col)]);
                DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &cell,
                          DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            }
        SelectObject(dc, old);
        DeleteObject(pen);
    } else if (c.kind == ControlKind::ListBox) {
        const int lines = look::listVisibleLines(c, kListLine);
        for (int i = 0; i < lines && i < static_cast<int>(c.items.size()); ++i) {
            RECT line = rectOf(left + 2, top + 2 + i * kListLine, c.width - 4, kListLine);
            if (i == c.selected) {
                fill(dc, line, look::kSelection);
                SetTextColor(dc, RGB(255, 255, 255));
            } else {
                SetTextColor(dc, colorOf(s.textColor));
            }
            const std::wstring t = wideOfGbk(c.items[static_cast<size_t>(i)]);
            line.left += px(2);
            DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &line, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
    } else if (s.drawCaption && !c.text().empty()) {
        const auto lines = look::captionLines(c);
        const int inset = px(s.frame == look::Frame::Sunken ? 3 : 0);
        int y = r.top + inset;
        if (s.centered) y = (r.top + r.bottom - lineHeight * static_cast<int>(lines.size())) / 2;
        if (s.alignBottom) y = r.bottom - tm.tmHeight * static_cast<int>(lines.size());
        for (const auto& line : lines) {
            const std::wstring t = wideOfGbk(line);
            RECT lr{r.left + inset, y, r.right - inset, y + lineHeight};
            DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &lr,
                      DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | (s.centered ? DT_CENTER : DT_LEFT));
            y += lineHeight;
        }
    }
    frame(dc, r, s.frame);
    RestoreDC(dc, saved);
}

void Painter::paint(HDC dc, const Form& form, int width, int height, const PanelShell& shell) {
    shell_ = &shell;
    fill(dc, RECT{0, 0, width, height}, look::kPanelColor);
    for (const auto& c : form.controls()) {
        if (!c->shown() || c->kind == ControlKind::Timer || c->kind == ControlKind::Hyperlink) continue;
        paintControl(dc, *c);
    }
    // The window's own edge, since it has no frame of its own.
    RECT all{0, 0, width, height};
    FrameRect(dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    shell_ = nullptr;
}

}  // namespace lumiko::win32

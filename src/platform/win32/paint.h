// Painting a form of the control model with GDI.
#pragma once

#include <windows.h>

#include <map>

#include "platform/controls.h"
#include "platform/shell.h"

namespace lumiko::win32 {

class Painter {
public:
    Painter() = default;
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    // Paints every shown control in stacking order into `dc`, which covers
    // the window's client area of width × height pixels, at the shell's
    // scale: rectangles as the shell maps them, captions in fonts made for
    // the scaled size, pictures stretched smoothly.
    void paint(HDC dc, const Form& form, int width, int height, const PanelShell& shell);

    // The caption font of the given character height, in 宋体 where the
    // system has it, else in another face with the Chinese characters.
    HFONT font(int pixels);
    HICON icon(const Picture& picture, int size);

    // Height of a list box line.
    static constexpr int kListLine = 16;

private:
    // A length or position of the form in the window's pixels.
    int px(int formPixels) const { return shell_ ? shell_->scaled(formPixels) : formPixels; }
    RECT rectOf(int left, int top, int width, int height) const;
    bool visibleRect(const Control& c, RECT& r) const;
    void paintControl(HDC dc, const Control& c);
    void paintPicture(HDC dc, const Picture& p, const RECT& box, bool centred);

    const PanelShell* shell_ = nullptr;
    std::map<int, HFONT> fonts_;
    std::map<std::pair<const void*, int>, HICON> icons_;
};

// The face the captions are drawn in (宋体 or its first available fallback).
const wchar_t* captionFace();

}  // namespace lumiko::win32

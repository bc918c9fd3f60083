// The pixels per inch the panel and its windows are drawn for.
#pragma once

#include <windows.h>

namespace lumiko::win32 {

// The pixels per inch of the monitor the window lies on, as the system tells
// a per-monitor aware program (Windows 10 1607 and later); on older systems
// the desktop's own.
int dpiOf(HWND window);

// A length of the 96-pixels-per-inch layout at `dpi`.
inline int atDpi(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }

}  // namespace lumiko::win32

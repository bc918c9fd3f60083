#include "platform/win32/dpi.h"

namespace lumiko::win32 {

int dpiOf(HWND window) {
    // Looked up at run time: Windows 7 and 8 have no per-window DPI.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto forWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (forWindow && window)
        if (const UINT dpi = forWindow(window); dpi > 0) return static_cast<int>(dpi);
    HDC dc = GetDC(nullptr);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 0;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

}  // namespace lumiko::win32

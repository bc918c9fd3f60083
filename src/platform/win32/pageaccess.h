// Reaching the document shown in the browser view through the browser's own
// window: the window of class "Internet Explorer_Server" answers the
// registered message "WM_HTML_GETOBJECT" with a reference that the
// accessibility library turns into the document's IHTMLDocument2.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/services.h"

namespace lumiko::win32 {

// The first window of class "Internet Explorer_Server" among the
// descendants of `parent`, depth first in the order the system lists them;
// null when there is none.
HWND findBrowserWindow(HWND parent);

// The document of the browser window `window` (itself of that class, or the
// outer window of the control); null when it cannot be reached: no such
// window, a window that does not answer within 1000 ms, or no document.
std::unique_ptr<PageDocument> documentFromWindow(HWND window);

}  // namespace lumiko::win32

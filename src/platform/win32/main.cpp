// lumiko.exe: the input panel on the Windows desktop.
#include <windows.h>
#include <ole2.h>

#include "platform/win32/padprotocol.h"
#include "platform/win32/panel.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The browser control is an OLE object: the thread is a single-threaded
    // apartment.
    const bool ole = SUCCEEDED(OleInitialize(nullptr));
    // The handwriting pad is served from inside the process.
    if (!lumiko::win32::registerPadProtocol(lumiko::win32::padModelBesideProgram()))
        OutputDebugStringA("handwriting pad: the pad's scheme could not be registered\n");
    int code = 1;
    {
        lumiko::win32::PanelWindow panel;
        if (panel.create(instance)) code = panel.run();
    }
    if (ole) OleUninitialize();
    return code;
}

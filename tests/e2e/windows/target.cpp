// The application being typed into: a window with one Unicode EDIT control
// that takes the keyboard focus. Every 50 ms it writes its state to the file
// named on its command line, as UTF-8:
//   line 1: 1 when its window is the foreground window and the edit has the
//           focus, else 0
//   line 2: how often the edit has lost the focus since start-up
//   line 3: the handle of the edit, in decimal
//   rest:   the edit's text, read through WM_GETTEXT
#include <windows.h>

#include <cstdio>
#include <string>

namespace {
HWND mainWindow, edit;
WNDPROC editProc;
long focusLost = 0;
std::wstring statePath;

LRESULT CALLBACK watchEdit(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_KILLFOCUS) ++focusLost;
    return CallWindowProcW(editProc, w, msg, wp, lp);
}

std::string utf8(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

void writeState() {
    const LRESULT length = SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(SendMessageW(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    const bool focused = GetForegroundWindow() == mainWindow && GetFocus() == edit;
    const std::string body = std::to_string(focused ? 1 : 0) + "\n" + std::to_string(focusLost) + "\n" +
                             std::to_string(reinterpret_cast<std::uintptr_t>(edit)) + "\n" + utf8(text);
    // Written beside and moved over, so that a reader never sees half a state.
    const std::wstring fresh = statePath + L".new";
    if (FILE* f = _wfopen(fresh.c_str(), L"wb")) {
        fwrite(body.data(), 1, body.size(), f);
        fclose(f);
        MoveFileExW(fresh.c_str(), statePath.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
}

LRESULT CALLBACK mainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        MoveWindow(edit, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return 0;
    case WM_SETFOCUS:
        SetFocus(edit);
        return 0;
    case WM_TIMER:
        writeState();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    statePath = commandLine && *commandLine ? commandLine : L"target-state.txt";
    WNDCLASSW wc{};
    wc.lpfnWndProc = mainProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"LumikoTestTarget";
    wc.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    RegisterClassW(&wc);
    mainWindow = CreateWindowExW(0, wc.lpszClassName, L"Lumiko test target", WS_OVERLAPPEDWINDOW, 40, 80, 420, 200,
                                 nullptr, nullptr, instance, nullptr);
    edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL,
                           0, 0, 420, 200, mainWindow, nullptr, instance, nullptr);
    editProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watchEdit)));
    ShowWindow(mainWindow, SW_SHOWNORMAL);
    SetForegroundWindow(mainWindow);
    SetFocus(edit);
    focusLost = 0;
    SetTimer(mainWindow, 1, 50, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

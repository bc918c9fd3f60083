// lumiko.exe: the input panel on the Windows desktop.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/commandline.h"
#include "platform/win32/padprotocol.h"
#include "platform/win32/panel.h"
#include "platform/win32/text.h"

namespace {

// A program without a console of its own answers in the console it was
// started from, or in a message box when there is none.
void answer(const std::string& gbk, bool error) {
    const std::wstring text = lumiko::win32::wideOfGbk(gbk);
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        HANDLE out = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
        DWORD written = 0;
        if (!WriteConsoleW(out, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr)) {
            const std::string utf8 = lumiko::win32::utf8OfWide(text);
            WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
        }
        FreeConsole();
        return;
    }
    MessageBoxW(nullptr, text.c_str(), L"Lumiko", error ? MB_ICONERROR : MB_ICONINFORMATION);
}

// Help, version or a wrong argument: the exit status; -1 to start the panel,
// with the zoom of the command line in `zoom` (0 when it gives none).
int answerCommandLine(int& zoom) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int i = 1; argv && i < argc; ++i) args.push_back(lumiko::win32::gbkOfWide(argv[i]));
    LocalFree(argv);
    const lumiko::CommandLine line = lumiko::parseCommandLine(args);
    switch (line.action) {
        case lumiko::CommandLine::Action::Help: answer(lumiko::usageText("lumiko.exe"), false); return 0;
        case lumiko::CommandLine::Action::Version: answer(lumiko::versionText(), false); return 0;
        case lumiko::CommandLine::Action::Error:
            answer("lumiko.exe: " + line.error + " (see lumiko.exe --help)\n", true);
            return 2;
        case lumiko::CommandLine::Action::Run: break;
    }
    if (!line.zoom.empty() && (zoom = lumiko::PanelShell::parseZoom(line.zoom)) == 0) {
        answer("lumiko.exe: --zoom " + line.zoom + ": not a whole percent from 50 to 400 (see lumiko.exe --help)\n",
               true);
        return 2;
    }
    return -1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int zoom = 0;
    if (const int status = answerCommandLine(zoom); status >= 0) return status;
    // One panel per session: the mutex's name lives in the session's own
    // namespace and is held until the program ends. A second start shows
    // the first (waiting a little for a first that is still starting) and
    // ends.
    const HANDLE onePanel = CreateMutexW(nullptr, FALSE, L"Local\\LumikoPanel");
    if (onePanel && GetLastError() == ERROR_ALREADY_EXISTS) {
        for (int attempt = 0; attempt < 50 && !lumiko::win32::askRunningPanelToShow(); ++attempt) Sleep(100);
        CloseHandle(onePanel);
        return 0;
    }
    // The browser control is an OLE object: the thread is a single-threaded
    // apartment.
    const bool ole = SUCCEEDED(OleInitialize(nullptr));
    // The handwriting pad is served from inside the process.
    if (!lumiko::win32::registerPadProtocol(lumiko::win32::padModelBesideProgram()))
        OutputDebugStringA("handwriting pad: the pad's scheme could not be registered\n");
    int code = 1;
    {
        lumiko::win32::PanelWindow panel(zoom);
        if (panel.create(instance)) code = panel.run();
    }
    if (ole) OleUninitialize();
    if (onePanel) CloseHandle(onePanel);
    return code;
}

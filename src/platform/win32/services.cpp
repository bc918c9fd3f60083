#include "platform/win32/services.h"

#include <shellapi.h>

#include <cstring>

#include "platform/win32/browser.h"
#include "platform/win32/files.h"
#include "platform/win32/layout.h"
#include "platform/win32/net.h"
#include "platform/win32/pageaccess.h"
#include "platform/win32/text.h"

namespace lumiko::win32 {

namespace {
SYSTEMTIME systemTimeOf(const DateTime& t) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wDayOfWeek = static_cast<WORD>(t.weekday - 1);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    return st;
}
}  // namespace

Text traditionalOf(const Text& gbk) {
    if (gbk.empty()) return gbk;
    const std::wstring in = wideOfGbk(gbk);
    const int len = static_cast<int>(in.size());
    const int n = LCMapStringEx(L"zh-CN", LCMAP_TRADITIONAL_CHINESE, in.c_str(), len, nullptr, 0,
                                nullptr, nullptr, 0);
    if (n <= 0) return gbk;
    std::wstring out(static_cast<size_t>(n), L'\0');
    if (LCMapStringEx(L"zh-CN", LCMAP_TRADITIONAL_CHINESE, in.c_str(), len, out.data(), n, nullptr,
                      nullptr, 0) <= 0)
        return gbk;
    return gbkOfWide(out);
}

Text systemDateText(const DateTime& t) {
    const SYSTEMTIME st = systemTimeOf(t);
    wchar_t buf[128];
    const int n = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf, 128, nullptr);
    return n > 1 ? gbkOfWide(std::wstring_view(buf, static_cast<size_t>(n - 1))) : Text();
}

Text systemTimeText(const DateTime& t) {
    const SYSTEMTIME st = systemTimeOf(t);
    wchar_t buf[128];
    const int n = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, buf, 128);
    return n > 1 ? gbkOfWide(std::wstring_view(buf, static_cast<size_t>(n - 1))) : Text();
}

PinyinTable loadPinyinTable() {
    PinyinTable table;
    for (const Text& path : {exeFolder() + "\\pinyin.txt", Text("pinyin.txt")}) {
        std::string bytes;
        if (readFile(path, bytes)) {
            table.parse(bytes);
            return table;
        }
    }
    OutputDebugStringW(L"lumiko: no pinyin table (pinyin.txt beside the program or in the working folder)\n");
    return table;
}

std::vector<Text> readingsOf(const PinyinTable& table, const Text& gbk) {
    std::vector<Text> out;
    for (const auto& r : table.readings(utf8OfWide(wideOfGbk(gbk)))) out.push_back(gbkOfWide(wideOfUtf8(r)));
    return out;
}

WindowsServices::WindowsServices() = default;

WindowsServices::~WindowsServices() {
    trayRemove();
    win32::removePrivateFiles();
}

bool WindowsServices::focusedWindow(std::uint64_t& handle) {
    GUITHREADINFO info;
    std::memset(&info, 0, sizeof info);
    info.cbSize = sizeof(GUITHREADINFO);
    if (!GetGUIThreadInfo(0, &info)) return false;
    handle = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(info.hwndFocus));
    return true;
}

void WindowsServices::sendChars(std::uint64_t window, const Text& bytes) {
    postChars(window, unitsOfGbk(bytes));
}

void WindowsServices::sendKey(Key key) { pressKey(key); }

void WindowsServices::setClipboard(const Text& text) { putOnClipboard(panel, text); }

Text WindowsServices::toTraditional(const Text& text) { return traditionalOf(text); }

std::vector<Text> WindowsServices::pinyinReadings(const Text& text) {
    if (!pinyin_) pinyin_ = loadPinyinTable();
    return readingsOf(*pinyin_, text);
}

int WindowsServices::networkState() { return win32::networkState(); }

bool WindowsServices::download(const std::string& url, std::string& body, const DownloadLimits& limits) {
    return win32::download(url, body, limits.maxBytes, limits.timeoutMs > 0 ? static_cast<unsigned>(limits.timeoutMs) : 0);
}

Text WindowsServices::tempFolder() { return win32::tempFolder(); }
Text WindowsServices::exeFolder() { return win32::exeFolder(); }
bool WindowsServices::readFile(const Text& path, std::string& bytes) { return win32::readFile(path, bytes); }
void WindowsServices::log(const Text& message) { OutputDebugStringW((L"lumiko: " + wideOfGbk(message) + L"\n").c_str()); }
bool WindowsServices::writeFile(const Text& path, const std::string& bytes) {
    return win32::writeFile(path, bytes);
}
bool WindowsServices::replaceFile(const Text& path, const std::string& bytes) {
    return win32::replaceFile(path, bytes);
}
bool WindowsServices::fileExists(const Text& path) { return win32::fileExists(path); }
std::vector<Text> WindowsServices::listFiles(const Text& folder, const Text& suffix) {
    return win32::listFiles(folder, suffix);
}
LayoutFacts WindowsServices::layoutFacts() { return win32::discoverLayout(); }

// --- Telling failures ----------------------------------------------------------
Text WindowsServices::lastFileError() { return win32::lastFileError(); }
Text WindowsServices::absolutePath(const Text& path) { return win32::absolutePath(path); }
Text WindowsServices::writePrivateFile(const Text& name, const std::string& bytes) {
    return win32::writePrivateFile(name, bytes);
}

void WindowsServices::shellOpen(const Text& target) {
    ShellExecuteW(nullptr, L"open", wideOfGbk(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool WindowsServices::messageBox(const Text& title, const Text& text, Buttons buttons) {
    const UINT type = MB_ICONINFORMATION | (buttons == Buttons::YesNo ? MB_YESNO : MB_OK);
    return MessageBoxW(panel, wideOfGbk(text).c_str(), wideOfGbk(title).c_str(), type) == IDYES;
}

DateTime WindowsServices::now() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    DateTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.day = st.wDay;
    t.weekday = st.wDayOfWeek + 1;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    return t;
}

Text WindowsServices::dateText(const DateTime& t) { return systemDateText(t); }
Text WindowsServices::timeText(const DateTime& t) { return systemTimeText(t); }

void WindowsServices::browserNavigate(const Text& path) {
    pageCorePath_ = path;
    pagePath_ = wideOfGbk(path);
    if (browser) browser->navigate(pagePath_);
}

void WindowsServices::browserMade(BrowserView* view) {
    browser = view;
    browserMadeAt_ = GetTickCount64();
    if (!pagePath_.empty()) browser->navigate(pagePath_);
}

// The pad is opened once the page's document can be reached, or after a
// while without it.
bool WindowsServices::browserReady() {
    constexpr ULONGLONG kPageWaitMs = 3000;
    if (!browser) return false;
    return GetTickCount64() - browserMadeAt_ >= kPageWaitMs || browserDocument() != nullptr;
}

void WindowsServices::browserReload() {
    if (browser) browser->reload();
}

PageDocument* WindowsServices::browserDocument() {
    document_ = browser ? documentFromWindow(browser->window()) : nullptr;
    return document_.get();
}

void WindowsServices::setNoActivate() {
    if (!panel) return;
    const LONG style = GetWindowLongA(panel, GWL_EXSTYLE);
    SetWindowLongA(panel, GWL_EXSTYLE, style | WS_EX_NOACTIVATE);
}

void WindowsServices::setTopmost() {
    if (panel) SetWindowPos(panel, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void WindowsServices::screenSize(int& width, int& height) {
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
}

void WindowsServices::trayAdd(const Text& tip) {
    trayTip_ = tip;
    if (!panel) return;
    NOTIFYICONDATAW nid;
    std::memset(&nid, 0, sizeof nid);
    nid.cbSize = sizeof nid;
    nid.hWnd = panel;
    nid.uID = 1;
    nid.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    nid.uCallbackMessage = trayMessage;
    nid.hIcon = trayIcon;
    const std::wstring w = wideOfGbk(tip);
    wcsncpy(nid.szTip, w.c_str(), sizeof nid.szTip / sizeof nid.szTip[0] - 1);
    trayShown_ = Shell_NotifyIconW(trayShown_ ? NIM_MODIFY : NIM_ADD, &nid) || trayShown_;
}

void WindowsServices::trayRemove() {
    if (!trayShown_ || !panel) return;
    NOTIFYICONDATAW nid;
    std::memset(&nid, 0, sizeof nid);
    nid.cbSize = sizeof nid;
    nid.hWnd = panel;
    nid.uID = 1;
    Shell_NotifyIconW(NIM_DELETE, &nid);
    trayShown_ = false;
}

void WindowsServices::trayRestore() {
    if (!trayShown_) return;
    trayShown_ = false;
    trayAdd(trayTip_);
}

void WindowsServices::popupMenu() {
    if (onPopupMenu) onPopupMenu();
}

void WindowsServices::quit() { PostQuitMessage(0); }

void WindowsServices::settingsOpened() {
    if (onSettingsOpened) onSettingsOpened();
}

}  // namespace lumiko::win32

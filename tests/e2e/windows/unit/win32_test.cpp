// The Windows layer under Wine: typing into real EDIT controls, GBK paths on
// the file system, page access over a window tree, WinINet against a
// server on 127.0.0.1, and the system's conversions.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "platform/win32/delivery.h"
#include "platform/win32/dpi.h"
#include "platform/services.h"
#include "platform/win32/files.h"
#include "platform/win32/layout.h"
#include "platform/win32/net.h"
#include "platform/win32/pageaccess.h"
#include "app/app.h"
#include "platform/win32/services.h"
#include "platform/win32/sessionstart.h"
#include "platform/win32/settings_window.h"
#include "platform/win32/text.h"
#include "platform/win32/zoomsetting.h"

namespace lumiko::win32 {
namespace {

std::uint64_t handleOf(HWND w) { return reinterpret_cast<std::uintptr_t>(w); }

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::wstring textOf(HWND w) {
    wchar_t buf[256] = {};
    SendMessageW(w, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buf));
    return buf;
}

// --- Typing ------------------------------------------------------------------

TEST(UnitsOfGbk, EachCharacterBecomesItsUtf16Units) {
    struct Case {
        const char* gbk;
        std::wstring expected;
    } cases[] = {
        {"\xD6\xD0,", L"\x4E2D,"},  // 中,
        {"\xB9,a", L",a"},           // a lead byte no trail follows drops
        {"\xB9\xFA", L"\x56FD"},     // 国
    };
    for (const auto& c : cases) EXPECT_EQ(unitsOfGbk(c.gbk), c.expected) << c.gbk;
    // The components of the FE block arrive as one character.
    const std::wstring component = unitsOfGbk("\xFE\x50");
    ASSERT_FALSE(component.empty());
    EXPECT_NE(component[0], L'?');
}

class EditTarget : public ::testing::Test {
protected:
    void TearDown() override {
        for (HWND w : windows_) DestroyWindow(w);
    }
    HWND unicodeEdit() { return keep(CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 60, nullptr, nullptr, nullptr, nullptr)); }
    HWND ansiEdit() { return keep(CreateWindowExA(0, "EDIT", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 60, nullptr, nullptr, nullptr, nullptr)); }
    void type(HWND w, const std::string& gbk) {
        svc.sendChars(handleOf(w), gbk);
        pump();
    }
    WindowsServices svc;

private:
    HWND keep(HWND w) {
        if (w) windows_.push_back(w);
        return w;
    }
    std::vector<HWND> windows_;
};

// Bytes handed over as character messages reach the target as whole characters, in
// Unicode and in ANSI windows alike, whatever the keyboard layout.
TEST_F(EditTarget, ChineseTextArrivesIntactInAUnicodeEdit) {
    HWND edit = unicodeEdit();
    ASSERT_NE(edit, nullptr);
    type(edit, "\xd6\xd0,\xb9\xfa\xa1\xa3" "a");  // 中,国。a
    EXPECT_EQ(textOf(edit), L"\x4E2D,\x56FD\x3002" L"a");
}

TEST_F(EditTarget, ChineseTextArrivesIntactInAnAnsiEdit) {
    HWND edit = ansiEdit();
    ASSERT_NE(edit, nullptr);
    ASSERT_FALSE(IsWindowUnicode(edit));
    type(edit, "\xd6\xd0\xb9\xfa");
    EXPECT_EQ(textOf(edit), L"\x4E2D\x56FD");
}

// --- Files -------------------------------------------------------------------

class Folder : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        dir_ = std::wstring(tmp) + L"lumiko-w32-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(dir_.c_str(), nullptr);
        wchar_t old[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, old);
        previous_ = old;
        SetCurrentDirectoryW(dir_.c_str());
    }
    void TearDown() override {
        SetCurrentDirectoryW(previous_.c_str());
        SHFILEOPSTRUCTW op{};
        const std::wstring from = dir_ + L'\0';
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = FOF_NO_UI;
        SHFileOperationW(&op);
    }
    std::wstring dir_, previous_;
};

TEST_F(Folder, GbkPathsReachFilesNamedInChinese) {
    ASSERT_TRUE(CreateDirectoryW(L"\x8BCD\x5E93", nullptr));                    // 词库
    ASSERT_TRUE(CreateDirectoryW(L"\x8BCD\x5E93\\\x5B57\x5178", nullptr));      // 词库\字典
    const Text file = "\xb4\xca\xbf\xe2\\\xd7\xd6\xb5\xe4\\\xce\xe5\xb1\xca.txt";  // 词库\字典\五笔.txt
    ASSERT_TRUE(writeFile(file, "ggll \xd2\xbb"));
    EXPECT_TRUE(fileExists(file));
    EXPECT_FALSE(fileExists("\xb4\xca\xbf\xe2"));  // a folder is no file
    std::string bytes;
    ASSERT_TRUE(readFile(file, bytes));
    EXPECT_EQ(bytes, "ggll \xd2\xbb");
    const auto names = listFiles("\xb4\xca\xbf\xe2\\\xd7\xd6\xb5\xe4", ".TXT");
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], "\xce\xe5\xb1\xca.txt");

    ASSERT_TRUE(replaceFile(file, "new"));
    ASSERT_TRUE(readFile(file, bytes));
    EXPECT_EQ(bytes, "new");
    EXPECT_EQ(listFiles("\xb4\xca\xbf\xe2\\\xd7\xd6\xb5\xe4", ".txt").size(), 1u);  // nothing left beside it
}

// A temporary file a running save holds open stays; one nobody holds was
// left by an interrupted save and goes. Two saves at once both succeed and
// the file is always one of them, whole.
TEST_F(Folder, SavesRacingEachOtherAllSucceed) {
    ASSERT_TRUE(writeFile("c.txt", "old"));
    ASSERT_TRUE(writeFile("c.txt.77-1.new", "left"));
    ASSERT_TRUE(writeFile("c.txt.88-1.new", "held"));
    const HANDLE held = CreateFileW(L"c.txt.88-1.new", GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(replaceFile("c.txt", "new"));
    EXPECT_FALSE(fileExists("c.txt.77-1.new"));
    EXPECT_TRUE(fileExists("c.txt.88-1.new"));
    CloseHandle(held);

    const std::string a(6000, 'a'), b(9000, 'b');
    ASSERT_TRUE(replaceFile("c.txt", a));
    std::atomic<int> failed{0};
    auto saves = [&](const std::string& content) {
        for (int round = 0; round < 100; ++round) failed += !replaceFile("c.txt", content);
    };
    std::thread first(saves, a), second(saves, b);
    int torn = 0;
    for (int round = 0; round < 100; ++round) {
        std::string now;
        if (readFile("c.txt", now)) torn += now != a && now != b;
    }
    first.join();
    second.join();
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(torn, 0);
    EXPECT_TRUE(replaceFile("c.txt", "last"));
    EXPECT_FALSE(fileExists("c.txt.88-1.new"));
}

// The tables beside the program are read when the working folder has none,
// and written when the program may write there (a per-user install); the
// working folder's 词库 wins. The probes leave nothing behind, and nothing
// is made in the user's folder while the tables' folder is writable.
TEST_F(Folder, TablesAreFoundAndProbedForWriting) {
    const Text installed = exeFolder() + "\\\xb4\xca\xbf\xe2";  // 词库 beside the program
    const bool made = CreateDirectoryW(nativePath(installed).c_str(), nullptr);
    LayoutFacts f = discoverLayout();
    EXPECT_FALSE(f.workingTables);
    EXPECT_EQ(f.installedTables, installed);
    EXPECT_TRUE(f.installedWritable);
    EXPECT_EQ(f.userDictionaries, f.userFolder + "\\\xd7\xd6\xb5\xe4");  // 字典
    EXPECT_TRUE(listFiles(installed, "").empty());
    if (made) RemoveDirectoryW(nativePath(installed).c_str());

    ASSERT_TRUE(CreateDirectoryW(L"\x8BCD\x5E93", nullptr));  // 词库
    f = discoverLayout();
    EXPECT_TRUE(f.workingTables);
    EXPECT_TRUE(f.workingWritable);
    EXPECT_EQ(f.workingFolder, corePath(dir_));
    EXPECT_TRUE(listFiles("\xb4\xca\xbf\xe2", "").empty());
    EXPECT_FALSE(folderWritable("nowhere"));
}

// The handwriting page goes into a new folder of the temporary-files folder
// for every run, and the folder goes when it is given up; what stands at the
// old place is left alone.
// The addresses the browser control reports, as the view's check compares
// them: escaped UTF-8 spelled out, ASCII escapes and broken ones left.
TEST(Addresses, EscapedUtf8IsSpelledOut) {
    EXPECT_EQ(unescapedAddress(L"file:///C:/Users/%E7%8E%8B/s1.html"), L"file:///C:/Users/\x738B/s1.html");
    EXPECT_EQ(unescapedAddress(L"file:///C:/a%20b/%e7%8e%8b%E7%8E%8B"), L"file:///C:/a%20b/\x738B\x738B");
    EXPECT_EQ(unescapedAddress(L"%2"), L"%2");
    const std::wstring broken = unescapedAddress(L"%E7%8E");  // not UTF-8: matches no file
    EXPECT_FALSE(broken.empty());
    EXPECT_EQ(broken.find(L'%'), std::wstring::npos);
    EXPECT_EQ(unescapedAddress(L""), L"");
}

TEST_F(Folder, ThePageGetsAFolderOfItsOwn) {
    wchar_t saved[MAX_PATH] = L"";
    const DWORD had = GetEnvironmentVariableW(L"TMP", saved, MAX_PATH);
    SetEnvironmentVariableW(L"TMP", dir_.c_str());
    ASSERT_TRUE(writeFile("s1.html", "planted"));
    const Text first = writePrivateFile("s1.html", "<html>");
    ASSERT_FALSE(first.empty()) << lastFileError();
    const std::wstring file = wideOfGbk(first);
    EXPECT_EQ(file.rfind(dir_ + L"\\lumiko-", 0), 0u);
    EXPECT_EQ(file.substr(file.size() - 8), L"\\s1.html");
    std::string bytes;
    ASSERT_TRUE(readFile(first, bytes));
    EXPECT_EQ(bytes, "<html>");
    const Text second = writePrivateFile("s1.html", "<html>");
    EXPECT_NE(second, first);
    EXPECT_EQ(GetFileAttributesW(file.substr(0, file.size() - 8).c_str()), INVALID_FILE_ATTRIBUTES);
    removePrivateFiles();
    EXPECT_EQ(GetFileAttributesW(wideOfGbk(second).c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(readFile("s1.html", bytes));
    EXPECT_EQ(bytes, "planted");
    if (had) SetEnvironmentVariableW(L"TMP", saved);
    else SetEnvironmentVariableW(L"TMP", nullptr);
}

TEST_F(Folder, AMissingFileReadsAsEmpty) {
    std::string bytes = "stale";
    EXPECT_FALSE(readFile("nowhere.txt", bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(lastFileError().empty());
    EXPECT_TRUE(listFiles("nowhere", ".txt").empty());
}

// Folders, devices and files over the cap are refused with a reason; a
// failed replacement says why and leaves its target alone.
TEST_F(Folder, OnlyFilesUpToTheCapAreReadAndFailuresSayWhy) {
    ASSERT_TRUE(CreateDirectoryW(L"folder.txt", nullptr));
    std::string bytes = "stale";
    for (const Text path : {Text("folder.txt"), Text("NUL"), Text("nowhere\\x.txt")}) {
        EXPECT_FALSE(readFile(path, bytes)) << path;
        EXPECT_TRUE(bytes.empty()) << path;
        EXPECT_FALSE(lastFileError().empty()) << path;
    }
    const HANDLE h = CreateFileW(L"big.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size{};
    size.QuadPart = static_cast<LONGLONG>(kMaxFileBytes) + 1;
    ASSERT_TRUE(SetFilePointerEx(h, size, nullptr, FILE_BEGIN) && SetEndOfFile(h));
    CloseHandle(h);
    EXPECT_FALSE(readFile("big.txt", bytes));
    EXPECT_EQ(lastFileError(), "larger than 64 MiB");

    EXPECT_FALSE(replaceFile("folder.txt", "x"));  // a folder cannot be replaced by a file
    EXPECT_FALSE(lastFileError().empty());
    EXPECT_FALSE(fileExists("folder.txt.new"));
    ASSERT_TRUE(writeFile("ok.txt", "x"));
    EXPECT_TRUE(lastFileError().empty());
}

// The zoom chosen from the menu comes back at the next start; what is not a
// zoom is told and reads as none; a failed save says why and keeps the old.
// 登录时启动: the value in the user's Run key appears and goes away, and
// an entry Task Manager switched off counts as off until it is turned on.
TEST(SessionStart, TheRunValueAppearsAndGoesAway) {
    const wchar_t* run = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const wchar_t* approved = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
    const std::wstring name = L"LumikoTest" + std::to_wstring(GetCurrentProcessId());
    RunKeySessionStart start(name, L"\"C:\\Program Files\\Lumiko\\lumiko.exe\"");
    EXPECT_FALSE(start.startsWithSession());
    Text problem;
    ASSERT_TRUE(start.setStartsWithSession(true, problem)) << problem;
    EXPECT_TRUE(start.startsWithSession());
    EXPECT_EQ(start.command(), L"\"C:\\Program Files\\Lumiko\\lumiko.exe\"");

    const BYTE off[12] = {3};
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, approved, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name.c_str(), 0, REG_BINARY, off, sizeof off), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_FALSE(start.startsWithSession());
    ASSERT_TRUE(start.setStartsWithSession(true, problem)) << problem;
    EXPECT_TRUE(start.startsWithSession());

    ASSERT_TRUE(start.setStartsWithSession(false, problem)) << problem;
    EXPECT_FALSE(start.startsWithSession());
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, run, name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(start.setStartsWithSession(false, problem)) << problem;  // already off

    // The running program, quoted.
    RunKeySessionStart self(name);
    ASSERT_TRUE(self.setStartsWithSession(true, problem)) << problem;
    wchar_t exe[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    EXPECT_EQ(self.command(), L"\"" + std::wstring(exe, n) + L"\"");
    EXPECT_TRUE(self.setStartsWithSession(false, problem)) << problem;
}

TEST_F(Folder, TheChosenZoomIsKeptWholeOrNotAtAll) {
    Text problem;
    EXPECT_EQ(loadZoom("Lumiko\\zoom", problem), 0);  // nothing chosen yet
    EXPECT_TRUE(problem.empty());
    ASSERT_TRUE(saveZoom("Lumiko\\zoom", 150, problem)) << problem;  // the folder is made
    EXPECT_EQ(loadZoom("Lumiko\\zoom", problem), 150);
    EXPECT_TRUE(problem.empty());
    const struct {
        const char* stored;
        int zoom;
    } cases[] = {{"200%\r\n", 200}, {" 125\n", 0}, {"abc", 0}, {"1000", 0}, {"", 0}};
    for (const auto& c : cases) {
        ASSERT_TRUE(writeFile("Lumiko\\zoom", c.stored));
        EXPECT_EQ(loadZoom("Lumiko\\zoom", problem), c.zoom) << c.stored;
        EXPECT_EQ(problem.empty(), c.zoom != 0) << c.stored;
    }
    ASSERT_TRUE(writeFile("Lumiko\\zoom", "125"));
    ASSERT_TRUE(CreateDirectoryW(L"Lumiko\\folder", nullptr));
    EXPECT_FALSE(saveZoom("Lumiko\\folder", 200, problem));  // a folder is in the way
    EXPECT_FALSE(problem.empty());
    ASSERT_TRUE(writeFile("file", ""));
    EXPECT_FALSE(saveZoom("file\\zoom", 200, problem));  // so is a file, of the folder's name
    EXPECT_FALSE(problem.empty());
    EXPECT_EQ(loadZoom("Lumiko\\zoom", problem), 125);
    EXPECT_EQ(zoomSettingPath(), userFolder() + "\\zoom");
}

// A folder whose name GBK cannot spell is handed to the core in its short
// form, which still opens the files in it.
TEST_F(Folder, PathsGbkCannotSpellGoByTheirShortForm) {
    const std::wstring korean = dir_ + L"\\\xD55C\xAE00";  // 한글
    ASSERT_TRUE(CreateDirectoryW(korean.c_str(), nullptr));
    HANDLE h = CreateFileW((korean + L"\\a.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    WriteFile(h, "ok", 2, &n, nullptr);
    CloseHandle(h);
    const Text core = corePath(korean);
    EXPECT_EQ(core.find('?'), Text::npos) << core;
    std::string bytes;
    EXPECT_TRUE(readFile(core + "\\a.txt", bytes));
    EXPECT_EQ(bytes, "ok");
}

// --- Page access ----------------------------------------------------------------

class WindowTree : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const char* name : {"Internet Explorer_Server", "LumikoTestPlain"}) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.lpszClassName = name;
            RegisterClassA(&wc);
        }
    }
    HWND make(const char* cls, HWND parent) {
        HWND w = CreateWindowExA(0, cls, "", parent ? WS_CHILD : WS_POPUP, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr);
        if (!parent) top_ = w;
        return w;
    }
    void TearDown() override {
        if (top_) DestroyWindow(top_);
    }
    HWND top_ = nullptr;
};

TEST_F(WindowTree, TheBrowserWindowIsFoundDepthFirst) {
    HWND top = make("LumikoTestPlain", nullptr);
    HWND first = make("LumikoTestPlain", top);
    HWND second = make("LumikoTestPlain", top);
    make("Internet Explorer_Server", second);
    HWND deep = make("Internet Explorer_Server", make("LumikoTestPlain", first));
    // The system lists children newest first; whichever comes first is
    // searched to the bottom before the next.
    HWND listedFirst = FindWindowExA(top, nullptr, nullptr, nullptr);
    HWND expected = listedFirst == first ? deep : FindWindowExA(second, nullptr, nullptr, nullptr);
    EXPECT_EQ(findBrowserWindow(top), expected);
    EXPECT_EQ(findBrowserWindow(deep), nullptr);
}

TEST_F(WindowTree, AWindowWithoutADocumentYieldsNoneAndDoesNotHang) {
    HWND top = make("LumikoTestPlain", nullptr);
    HWND browser = make("Internet Explorer_Server", top);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(documentFromWindow(top), nullptr);
    EXPECT_EQ(documentFromWindow(browser), nullptr);
    EXPECT_EQ(documentFromWindow(make("LumikoTestPlain", top)), nullptr);
    EXPECT_EQ(documentFromWindow(nullptr), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

// --- Network ---------------------------------------------------------------------

// A server on 127.0.0.1 that answers each connection with `reply` (or, when
// it is empty, keeps the connection open without a word).
class LocalServer {
public:
    explicit LocalServer(std::string reply) : reply_(std::move(reply)) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        int len = sizeof addr;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        listen(listener_, 4);
        thread_ = std::thread([this] { serve(); });
    }
    ~LocalServer() {
        stop_ = true;
        closesocket(listener_);
        thread_.join();
        WSACleanup();
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

private:
    void serve() {
        while (!stop_) {
            SOCKET s = accept(listener_, nullptr, nullptr);
            if (s == INVALID_SOCKET) return;
            char buf[4096];
            recv(s, buf, sizeof buf, 0);
            if (reply_.empty()) {
                while (!stop_) Sleep(20);
            } else {
                send(s, reply_.data(), static_cast<int>(reply_.size()), 0);
            }
            closesocket(s);
        }
    }
    std::string reply_;
    SOCKET listener_;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

std::string http(const std::string& status, const std::string& body) {
    return "HTTP/1.0 " + status + "\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

TEST(Download, ReturnsTheWholeBody) {
    const std::string page = "<p>\xa7\xa8Lumiko 1.1\xa7\xab</p>" + std::string(40000, 'x');
    LocalServer server(http("200 OK", page));
    std::string body;
    EXPECT_TRUE(download(server.url(), body, 1 << 20, 5000));
    EXPECT_EQ(body, page);
    // A longer body gives its first bytes up to the limit.
    EXPECT_TRUE(download(server.url(), body, 1000, 5000));
    EXPECT_EQ(body, page.substr(0, 1000));
}

TEST(Download, AnErrorStatusCountsAsFailure) {
    LocalServer server(http("404 Not Found", "missing"));
    std::string body = "stale";
    EXPECT_FALSE(download(server.url(), body, 1 << 20, 5000));
    EXPECT_TRUE(body.empty());
}

TEST(Download, ASilentServerIsGivenUpWithinTheTimeLimits) {
    LocalServer server("");
    std::string body;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(download(server.url(), body, 1 << 20, 2000));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

// --- Conversions ---------------------------------------------------------------

TEST(Traditional, SimplifiedCharactersBecomeTraditionalGbk) {
    if (traditionalOf("\xb9\xfa") == "\xb9\xfa") GTEST_SKIP() << "the system has no simplified-to-traditional mapping";
    EXPECT_EQ(traditionalOf("\xd6\xd0\xb9\xfa" "abc"), "\xd6\xd0\x87\xf8" "abc");  // 中国abc -> 中國abc
    EXPECT_EQ(traditionalOf(""), "");
}

TEST(Pinyin, ReadingsComeBackAsGbk) {
    PinyinTable table;
    table.parse("\xe4\xb8\xad\tzh\xc5\x8dng zh\xc3\xb2ng\n");  // 中 zhōng zhòng, UTF-8
    const auto r = readingsOf(table, "\xd6\xd0");
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0], "zh\xa8\xadng");  // ō in GBK
    EXPECT_EQ(r[1], "zh\xa8\xb0ng");  // ò in GBK
    EXPECT_TRUE(readingsOf(table, "a").empty());
}

}  // namespace
}  // namespace lumiko::win32

// --- The dictionary settings window ----------------------------------------------

namespace lumiko::win32 {
namespace {

std::wstring controlText(HWND dialog, int id) {
    HWND c = GetDlgItem(dialog, id);
    wchar_t buf[256] = {};
    GetWindowTextW(c, buf, 256);
    return buf;
}

// The real controls follow the core's form both ways: a choice in the list
// fills the edit box and enables the save button; typing into the edit box
// changes what the form holds.
TEST(SettingsWindow, RealControlsFollowTheForm) {
    WindowsServices svc;
    App app(svc);
    SettingsWindow window;
    svc.onSettingsOpened = [&] { window.open(*app.settings, nullptr); };
    app.openSettings();
    ASSERT_NE(window.window(), nullptr);
    HWND dialog = window.window();
    enum { kList = 101, kEdit, kSave };
    HWND list = GetDlgItem(dialog, kList);
    HWND save = GetDlgItem(dialog, kSave);
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(IsWindowEnabled(save));

    // The list holds what the folder holds (nothing here); give it a line as
    // the folder would have.
    app.settings->列表框1.items = {"\xce\xe5\xb1\xca.txt"};  // 五笔.txt
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"\x4E94\x7B14.txt"));
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kList, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(app.settings->编辑框1.text(), "\xce\xe5\xb1\xca.txt");
    EXPECT_EQ(controlText(dialog, kEdit), L"\x4E94\x7B14.txt");
    EXPECT_TRUE(IsWindowEnabled(save));

    SetWindowTextW(GetDlgItem(dialog, kEdit), L"\x4ED3\x9889.txt");  // 仓颉.txt typed by hand
    EXPECT_EQ(app.settings->编辑框1.text(), "\xb2\xd6\xf2\xa1.txt");
    window.close();
}

// The controls are laid out for the monitor's pixels per inch when the
// window opens and again when it moves to a monitor of another scale.
TEST(SettingsWindow, ControlsFollowTheMonitorsPixelsPerInch) {
    WindowsServices svc;
    App app(svc);
    SettingsWindow window;
    svc.onSettingsOpened = [&] { window.open(*app.settings, nullptr); };
    app.openSettings();
    HWND dialog = window.window();
    ASSERT_NE(dialog, nullptr);
    const Control& list = app.settings->列表框1;
    auto listRect = [&] {
        RECT r;
        GetWindowRect(GetDlgItem(dialog, 101), &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    auto windowWidth = [&] {
        RECT r;
        GetWindowRect(dialog, &r);
        return r.right - r.left;
    };
    const RECT opened = listRect();
    EXPECT_EQ(opened.right - opened.left, atDpi(list.width, dpiOf(dialog)));
    EXPECT_EQ(windowWidth(), atDpi(app.settings->width, dpiOf(dialog)));
    for (const int dpi : {144, 192, 96}) {
        SCOPED_TRACE(dpi);
        RECT suggested{100, 100, 100 + atDpi(app.settings->width, dpi), 100 + atDpi(app.settings->height, dpi)};
        SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(windowWidth(), suggested.right - suggested.left);
        const RECT r = listRect();
        EXPECT_EQ(r.left, atDpi(list.left, dpi));
        EXPECT_EQ(r.top, atDpi(list.top, dpi));
        EXPECT_EQ(r.right - r.left, atDpi(list.width, dpi));
        EXPECT_EQ(r.bottom - r.top, atDpi(list.height, dpi));
    }
    window.close();
}

}  // namespace
}  // namespace lumiko::win32

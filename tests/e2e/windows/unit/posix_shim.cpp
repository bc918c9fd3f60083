// The Linux adapters that the recording fake and the core's unit tests call,
// answered by the Windows implementations, so that the core's tests run
// under Wine against the Windows file system, conversions and pinyin table.
// Native paths here are UTF-8, as the MinGW runtime's narrow calls take them
// only for ASCII; the tests keep their scratch folders in ASCII.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/posix/clock.h"
#include "platform/posix/files.h"
#include "platform/posix/opencc.h"
#include "platform/posix/pinyin.h"
#include "platform/win32/files.h"
#include "platform/win32/services.h"
#include "platform/win32/text.h"
#include "posix_shim.h"

extern "C" char* mkdtemp(char* pattern) {
    std::string p = pattern;
    if (p.size() < 6 || p.compare(p.size() - 6, 6, "XXXXXX") != 0) return nullptr;
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    static unsigned seed = GetTickCount() ^ GetCurrentProcessId();
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (size_t i = p.size() - 6; i < p.size(); ++i) {
            seed = seed * 1103515245u + 12345u;
            p[i] = kChars[(seed >> 16) % 36];
        }
        if (CreateDirectoryW(lumiko::win32::wideOfUtf8(p).c_str(), nullptr)) {
            p.copy(pattern, p.size());
            return pattern;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) return nullptr;
    }
    return nullptr;
}

extern "C" int setenv(const char* name, const char* value, int overwrite) {
    if (!overwrite && std::getenv(name)) return 0;
    return _putenv_s(name, value) == 0 ? 0 : -1;
}

extern "C" int unsetenv(const char* name) { return _putenv_s(name, "") == 0 ? 0 : -1; }

namespace lumiko::posix {

std::string nativePath(const Text& corePath) { return win32::utf8OfWide(win32::wideOfGbk(corePath)); }
Text corePath(const std::string& nativePath) { return win32::corePath(win32::wideOfUtf8(nativePath)); }
bool readFile(const Text& path, std::string& bytes) { return win32::readFile(path, bytes); }
bool writeFile(const Text& path, const std::string& bytes) { return win32::writeFile(path, bytes); }
// Windows files have no mode bits: a file in the user's own folder is theirs.
bool replaceFile(const Text& path, const std::string& bytes, unsigned) { return win32::replaceFile(path, bytes); }
bool fileExists(const Text& path) { return win32::fileExists(path); }
Text lastFileError() { return win32::lastFileError(); }
Text absolutePath(const Text& path) { return win32::absolutePath(path); }
std::vector<Text> listFiles(const Text& folder, const Text& suffix) { return win32::listFiles(folder, suffix); }
Text tempFolder() { return win32::tempFolder(); }
bool writeNewFile(const Text& path, const std::string& bytes) {
    HANDLE h = CreateFileW(win32::wideOfGbk(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    return CloseHandle(h) && ok;
}

Text toTraditional(const Text& gbk) { return win32::traditionalOf(gbk); }

std::vector<Text> pinyinReadings(const Text& gbk) {
    static const lumiko::PinyinTable table = win32::loadPinyinTable();
    return win32::readingsOf(table, gbk);
}

int weekdayOf(int year, int month, int day) {
    // The system's own calendar: a SYSTEMTIME of that day, through FILETIME.
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    FILETIME ft;
    if (!SystemTimeToFileTime(&st, &ft) || !FileTimeToSystemTime(&ft, &st)) return 1;
    return st.wDayOfWeek + 1;
}
Text dateText(const DateTime& t) { return win32::systemDateText(t); }
Text timeText(const DateTime& t) { return win32::systemTimeText(t); }

}  // namespace lumiko::posix

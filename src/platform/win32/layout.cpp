#include "platform/win32/layout.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/win32/files.h"
#include "platform/win32/text.h"

namespace lumiko::win32 {

namespace {

constexpr const char* kTables = "词库";

bool isFolder(const Text& path) {
    const DWORD a = GetFileAttributesW(nativePath(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

Text workingFolder() {
    const DWORD n = GetCurrentDirectoryW(0, nullptr);
    std::wstring buf(n, L'\0');
    const DWORD got = n ? GetCurrentDirectoryW(n, buf.data()) : 0;
    if (got == 0 || got >= n) return ".";
    buf.resize(got);
    while (buf.size() > 3 && (buf.back() == L'\\' || buf.back() == L'/')) buf.pop_back();
    return corePath(buf);
}

}  // namespace

Text userFolder() {
    PWSTR path = nullptr;
    Text out;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &path)))
        out = corePath(path) + "\\Lumiko";
    CoTaskMemFree(path);
    return out.empty() ? exeFolder() + "\\Lumiko" : out;
}

bool folderWritable(const Text& folder) {
    const std::wstring probe =
        nativePath(folder) + L"\\.lumiko-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

LayoutFacts discoverLayout() {
    LayoutFacts f;
    f.workingTables = isFolder(kTables);
    f.workingFolder = workingFolder();
    f.workingWritable = f.workingTables && folderWritable(kTables);
    f.installedTables = exeFolder() + "\\" + kTables;
    f.installedWritable = !f.workingTables && folderWritable(f.installedTables);
    f.userFolder = userFolder();
    f.userDictionaries = f.userFolder + "\\字典";
    f.userData = f.userFolder;
    CreateDirectoryW(nativePath(f.userData).c_str(), nullptr);
    if (f.workingTables ? !f.workingWritable : !f.installedWritable) {
        CreateDirectoryW(nativePath(f.userFolder).c_str(), nullptr);
        CreateDirectoryW(nativePath(f.userDictionaries).c_str(), nullptr);
    }
    return f;
}

}  // namespace lumiko::win32

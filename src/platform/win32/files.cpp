#include "platform/win32/files.h"

#include <windows.h>

#include <atomic>

#include "platform/services.h"
#include "platform/win32/text.h"

namespace lumiko::win32 {

namespace {

// The reason for the last failure of readFile, writeFile or replaceFile.
Text lastError;

}  // namespace

std::wstring systemMessage(unsigned long err) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, err, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = n && text ? std::wstring(text, n) : L"error " + std::to_wstring(err);
    if (text) LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\r' || reason.back() == L'\n' || reason.back() == L' '))
        reason.pop_back();
    return reason;
}

namespace {

bool fail(DWORD err) {
    lastError = gbkOfWide(systemMessage(err));
    return false;
}
bool fail(const char* reason) {
    lastError = reason;
    return false;
}

bool writeHandle(HANDLE h, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

bool endsWithNoCase(const std::wstring& name, const std::wstring& suffix) {
    if (suffix.size() > name.size()) return false;
    return CompareStringOrdinal(name.c_str() + (name.size() - suffix.size()),
                                static_cast<int>(suffix.size()), suffix.c_str(),
                                static_cast<int>(suffix.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

bool readFile(const Text& path, std::string& bytes) {
    bytes.clear();
    lastError.clear();
    HANDLE h = CreateFileW(nativePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return fail(GetLastError());
    // Only a file on disk: a device or a pipe could block the read.
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return fail("not a regular file");
    }
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(h, &size) != 0;
    DWORD err = ok ? 0 : GetLastError();
    if (ok && static_cast<std::uint64_t>(size.QuadPart) > kMaxFileBytes) {
        CloseHandle(h);
        return fail("larger than 64 MiB");
    }
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        size_t done = 0;
        while (ok && done < bytes.size()) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
            DWORD got = 0;
            ok = ReadFile(h, bytes.data() + done, chunk, &got, nullptr) && got > 0;
            if (!ok) err = GetLastError();
            done += got;
        }
    }
    CloseHandle(h);
    if (!ok) {
        bytes.clear();
        return err ? fail(err) : fail("the file shrank while it was read");
    }
    return true;
}

bool writeFile(const Text& path, const std::string& bytes) {
    lastError.clear();
    HANDLE h = CreateFileW(nativePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return fail(GetLastError());
    const bool ok = writeHandle(h, bytes);
    const DWORD err = ok ? 0 : GetLastError();
    CloseHandle(h);
    return ok || fail(err);
}

namespace {

// A save's own temporary file beside the target: the target's name, a dot,
// the process and a count, and ".new".
bool isTemporaryOf(const std::wstring& name, const std::wstring& targetName) {
    const std::wstring suffix = L".new";
    return name.size() > targetName.size() + 1 + suffix.size() &&
           _wcsnicmp(name.c_str(), (targetName + L".").c_str(), targetName.size() + 1) == 0 &&
           _wcsicmp(name.c_str() + name.size() - suffix.size(), suffix.c_str()) == 0;
}

// Removes the temporary files of the target that nobody holds open: a save
// holds its own open until its rename, so these were left by an interrupted
// one. The exclusive opening fails for a file another save holds.
void removeLeftTemporaries(const std::wstring& target) {
    const size_t slash = target.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
    const std::wstring targetName = slash == std::wstring::npos ? target : target.substr(slash + 1);
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((target + L".*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
            !(isTemporaryOf(found.cFileName, targetName) || targetName + L".new" == found.cFileName))
            continue;
        const HANDLE h = CreateFileW((folder + found.cFileName).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

// The new content goes to a temporary file of this save's own, flushed to
// the disk and held open until it has been renamed over the target, so the
// target holds the old or the new content whatever happens, and two saves
// at once do not take each other's temporary file.
bool replaceFile(const Text& path, const std::string& bytes) {
    lastError.clear();
    const std::wstring target = nativePath(path);
    if (target.empty()) return fail(ERROR_PATH_NOT_FOUND);
    removeLeftTemporaries(target);
    static std::atomic<unsigned long> count{0};
    std::wstring fresh;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 16 && h == INVALID_HANDLE_VALUE; ++attempt) {
        fresh = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count) + L".new";
        h = CreateFileW(fresh.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (h == INVALID_HANDLE_VALUE) return fail(GetLastError());
    bool ok = writeHandle(h, bytes) && FlushFileBuffers(h);
    DWORD err = ok ? 0 : GetLastError();
    // Another save renaming onto the target at the same moment makes this
    // one wait a little rather than fail.
    for (int attempt = 0; ok; ++attempt) {
        if (MoveFileExW(fresh.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) break;
        err = GetLastError();
        if ((err != ERROR_ACCESS_DENIED && err != ERROR_SHARING_VIOLATION) || attempt == 20) ok = false;
        else Sleep(50);
    }
    if (!CloseHandle(h) && ok) {
        ok = false;
        err = GetLastError();
    }
    if (!ok) {
        DeleteFileW(fresh.c_str());
        return fail(err);
    }
    return true;
}

Text lastFileError() { return lastError; }

Text absolutePath(const Text& path) {
    const std::wstring native = nativePath(path);
    const DWORD n = GetFullPathNameW(native.c_str(), 0, nullptr, nullptr);
    if (n == 0) return gbkOfWide(native);
    std::wstring full(n, L'\0');
    full.resize(GetFullPathNameW(native.c_str(), n, full.data(), nullptr));
    return gbkOfWide(full);
}

bool fileExists(const Text& path) {
    const DWORD a = GetFileAttributesW(nativePath(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<Text> listFiles(const Text& folder, const Text& suffix) {
    std::vector<Text> names;
    const std::wstring wanted = wideOfGbk(suffix);
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((nativePath(folder) + L"\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::wstring name = found.cFileName;
        if (!endsWithNoCase(name, wanted)) continue;
        bool lossless = true;
        Text gbk = gbkOfWide(name, &lossless);
        // A name GBK cannot spell is offered by its short form, which opens
        // the same file.
        if (!lossless && found.cAlternateFileName[0]) gbk = gbkOfWide(found.cAlternateFileName);
        names.push_back(std::move(gbk));
    } while (FindNextFileW(h, &found));
    FindClose(h);
    return names;
}

Text tempFolder() {
    wchar_t buf[MAX_PATH + 2];
    const DWORD n = GetTempPathW(MAX_PATH + 2, buf);
    if (n == 0 || n > MAX_PATH + 1) return ".\\";
    Text path = corePath(std::wstring(buf, n));
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

Text exeFolder() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return ".";
        if (n < buf.size()) {
            buf.resize(n);
            break;
        }
        buf.resize(buf.size() * 2);
    }
    const size_t slash = buf.find_last_of(L"\\/");
    return corePath(slash == std::wstring::npos ? std::wstring(L".") : buf.substr(0, slash));
}

namespace {
// What writePrivateFile made.
std::wstring madeFile, madeFolder;
}  // namespace

Text writePrivateFile(const Text& name, const std::string& bytes) {
    lastError.clear();
    removePrivateFiles();
    const std::wstring temp = nativePath(tempFolder());
    // A new folder: CreateDirectory fails on any name already there (a
    // folder, a file, a link), so another try takes another name.
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    std::wstring folder;
    DWORD err = ERROR_ALREADY_EXISTS;
    for (unsigned attempt = 0; attempt < 16 && err == ERROR_ALREADY_EXISTS; ++attempt) {
        folder = temp + L"lumiko-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 std::to_wstring(static_cast<unsigned long long>(counter.QuadPart) + attempt * 7919ull);
        err = CreateDirectoryW(folder.c_str(), nullptr) ? ERROR_SUCCESS : GetLastError();
    }
    if (err != ERROR_SUCCESS) {
        fail(err);
        return {};
    }
    madeFolder = folder;
    const std::wstring file = folder + L"\\" + wideOfGbk(name);
    // CREATE_NEW: never an existing file; a reparse point is opened as itself.
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        fail(GetLastError());
        const Text reason = lastError;
        removePrivateFiles();
        lastError = reason;
        return {};
    }
    madeFile = file;
    const bool written = writeHandle(h, bytes);
    err = written ? ERROR_SUCCESS : GetLastError();
    if (!CloseHandle(h) && err == ERROR_SUCCESS) err = GetLastError();
    if (err != ERROR_SUCCESS) {
        fail(err);
        const Text reason = lastError;
        removePrivateFiles();
        lastError = reason;
        return {};
    }
    return corePath(file);
}

void removePrivateFiles() {
    if (!madeFile.empty()) DeleteFileW(madeFile.c_str());
    if (!madeFolder.empty()) RemoveDirectoryW(madeFolder.c_str());
    madeFile.clear();
    madeFolder.clear();
}

}  // namespace lumiko::win32

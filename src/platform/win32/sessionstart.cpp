#include "platform/win32/sessionstart.h"

#include <windows.h>

#include <utility>

#include "platform/win32/files.h"
#include "platform/win32/text.h"

namespace lumiko::win32 {

namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kApprovedKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

std::wstring runningProgram() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) {
            buf.resize(n);
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

Text failure(const wchar_t* where, LSTATUS status) {
    return gbkOfWide(std::wstring(L"HKEY_CURRENT_USER\\") + where + L": " + systemMessage(static_cast<unsigned long>(status)));
}

// Task Manager switched the entry off.
bool switchedOff(const std::wstring& name) {
    BYTE state[12] = {};
    DWORD size = sizeof state, type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kApprovedKey, name.c_str(), RRF_RT_REG_BINARY, &type, state, &size) !=
        ERROR_SUCCESS)
        return false;
    return size > 0 && (state[0] & 1) != 0;
}

}  // namespace

RunKeySessionStart::RunKeySessionStart(std::wstring name, std::wstring command)
    : name_(std::move(name)), command_(std::move(command)) {}

std::wstring RunKeySessionStart::command() const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return {};
    DWORD type = 0, size = 0;
    std::wstring value;
    if (RegQueryValueExW(key, name_.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size >= sizeof(wchar_t) && size < (1u << 16)) {
        value.resize(size / sizeof(wchar_t) + 1);
        if (RegQueryValueExW(key, name_.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) ==
            ERROR_SUCCESS)
            value.resize(size / sizeof(wchar_t));
        else
            value.clear();
    }
    RegCloseKey(key);
    while (!value.empty() && value.back() == L'\0') value.pop_back();
    return value;
}

bool RunKeySessionStart::startsWithSession() { return !command().empty() && !switchedOff(name_); }

bool RunKeySessionStart::setStartsWithSession(bool on, Text& problem) {
    if (!on) {
        const LSTATUS status = RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, name_.c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
            problem = failure(kRunKey, status);
            return false;
        }
        return true;
    }
    std::wstring command = command_;
    if (command.empty()) {
        const std::wstring program = runningProgram();
        if (program.empty()) {
            problem = gbkOfWide(systemMessage(GetLastError()));
            return false;
        }
        command = L"\"" + program + L"\"";
    }
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExW(key, name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS) {
        problem = failure(kRunKey, status);
        return false;
    }
    // Switched off in Task Manager before: on again.
    status = RegDeleteKeyValueW(HKEY_CURRENT_USER, kApprovedKey, name_.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND && status != ERROR_PATH_NOT_FOUND) {
        problem = failure(kApprovedKey, status);
        return false;
    }
    return true;
}

}  // namespace lumiko::win32

#include "platform/win32/zoomsetting.h"

#include <windows.h>

#include <string>

#include "platform/shell.h"
#include "platform/win32/files.h"
#include "platform/win32/layout.h"
#include "platform/win32/text.h"

namespace lumiko::win32 {

Text zoomSettingPath() { return userFolder() + "\\zoom"; }

int loadZoom(const Text& path, Text& problem) {
    problem.clear();
    if (!fileExists(path)) return 0;
    std::string bytes;
    if (!readFile(path, bytes)) {
        problem = absolutePath(path) + ": " + lastFileError();
        return 0;
    }
    const int zoom = PanelShell::parseZoom(std::string_view(bytes).substr(0, 64));
    if (zoom == 0) problem = absolutePath(path) + ": not a zoom between 50 and 400 percent";
    return zoom;
}

bool saveZoom(const Text& path, int percent, Text& problem) {
    problem.clear();
    const size_t slash = path.find_last_of("\\/");
    if (slash != Text::npos && slash > 0) {
        const std::wstring folder = nativePath(path.substr(0, slash));
        if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            problem = absolutePath(path.substr(0, slash)) + ": the folder cannot be created";
            return false;
        }
    }
    if (replaceFile(path, std::to_string(percent) + "\r\n")) return true;
    problem = absolutePath(path) + ": " + lastFileError();
    return false;
}

}  // namespace lumiko::win32

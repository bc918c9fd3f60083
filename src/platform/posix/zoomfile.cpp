#include "platform/posix/zoomfile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/posix/encoding.h"
#include "platform/posix/files.h"
#include "platform/posix/layout.h"

namespace lumiko::posix {

namespace {
constexpr const char* kNoHome = "no home folder to keep it in (HOME is unset and the user has no entry)";
}

std::string zoomFilePath() {
    const std::string config = configHome();
    return config.empty() ? config : config + "/lumiko/zoom";
}

bool readZoomFile(std::string& text, Text& problem) {
    text.clear();
    problem.clear();
    const std::string path = zoomFilePath();
    if (path.empty()) return false;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 && errno == ENOENT) return false;
    const Text file = corePath(path);
    std::string bytes;
    if (!readFile(file, bytes)) {
        problem = file + ": " + lastFileError();
        return false;
    }
    text = bytes.substr(0, 64);
    return true;
}

bool writeZoomFile(int percent, Text& problem) {
    problem.clear();
    const std::string path = zoomFilePath();
    if (path.empty()) {
        problem = utf8ToGbk(kNoHome);
        return false;
    }
    const std::string folder = path.substr(0, path.rfind('/'));
    if (!makeFolders(folder)) {
        problem = corePath(folder) + ": " + utf8ToGbk(std::strerror(errno));
        return false;
    }
    if (replaceFile(corePath(path), std::to_string(percent) + "\n")) return true;
    problem = corePath(path) + ": " + lastFileError();
    return false;
}

}  // namespace lumiko::posix

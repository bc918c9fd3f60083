#include "platform/posix/runtimefolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/posix/layout.h"

namespace lumiko::posix {

namespace {

// True when `path` is a folder (not a link to one) of the user's that no
// one else may enter; otherwise the reason.
bool onlyMine(const std::string& path, std::string& problem) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) problem = path + ": " + std::strerror(errno);
    else if (!S_ISDIR(st.st_mode)) problem = path + ": not a folder";
    else if (st.st_uid != ::geteuid()) problem = path + ": owned by another account";
    else if ((st.st_mode & 077) != 0) problem = path + ": open to other accounts";
    else return true;
    return false;
}

}  // namespace

std::string privateRuntimeFolder(std::string& problem) {
    problem.clear();
    std::string base;
    // The session's runtime folder must itself be the user's alone (not, say,
    // the one of the account that ran sudo); otherwise the cache folder is.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && onlyMine(runtime, problem)) {
        base = runtime;
    } else if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && cache[0] == '/') {
        base = cache;
    } else if (const std::string home = homeFolder(); !home.empty()) {
        base = home + "/.cache";
    } else {
        problem = (problem.empty() ? "" : problem + "; ") + "no runtime folder and no home folder";
        return {};
    }
    problem.clear();
    if (!makeFolders(base)) {
        problem = base + ": the folder cannot be made";
        return {};
    }
    const std::string folder = base + "/lumiko";
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        problem = folder + ": " + std::strerror(errno);
        return {};
    }
    return onlyMine(folder, problem) ? folder : std::string();
}

}  // namespace lumiko::posix

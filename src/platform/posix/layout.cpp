#include "platform/posix/layout.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "platform/posix/files.h"

// The data and module folders relative to the folder of the executable, from
// the install directories the build was configured with.
#ifndef LUMIKO_DATA_FROM_BIN
#define LUMIKO_DATA_FROM_BIN "../share/lumiko"
#endif
#ifndef LUMIKO_HELPERS_FROM_BIN
#define LUMIKO_HELPERS_FROM_BIN "../libexec/lumiko"
#endif

namespace lumiko::posix {

namespace {

constexpr const char* kTables = "词库";

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string realPath(const std::string& path) {
    char buf[PATH_MAX];
    return ::realpath(path.c_str(), buf) ? std::string(buf) : std::string();
}

std::string workingFolder() {
    char buf[PATH_MAX];
    return ::getcwd(buf, sizeof buf) ? std::string(buf) : std::string(".");
}

// A home folder worth the name: absolute, and not the root every user shares.
bool usableHome(const char* path) { return path && path[0] == '/' && path[1] != '\0'; }

// $NAME when it is an absolute path (the XDG rules ignore a relative one),
// otherwise the home folder + fallback; empty without a home folder.
std::string xdgFolder(const char* name, const char* fallback) {
    if (const char* v = std::getenv(name); v && v[0] == '/') return v;
    const std::string home = homeFolder();
    return home.empty() ? home : home + fallback;
}

}  // namespace

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); usableHome(home)) return home;
    // Without HOME (a service, `env -i`), the password database knows.
    std::vector<char> buf(16384);
    passwd entry{}, *found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buf.data(), buf.size(), &found) == 0 && found && usableHome(found->pw_dir))
        return found->pw_dir;
    return {};
}

std::string configHome() { return xdgFolder("XDG_CONFIG_HOME", "/.config"); }

bool makeFolders(const std::string& path) {
    if (path.empty() || path[0] != '/') return false;
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    return isFolder(path);
}

namespace {

// A folder given relative to the installed executable's, or absolute.
std::string fromBin(const std::string& exeDir, const std::string& rel) {
    return rel.empty() || rel[0] == '/' ? rel : exeDir + "/" + rel;
}

}  // namespace

std::string installedDataFolder(const std::string& exeDir) { return fromBin(exeDir, LUMIKO_DATA_FROM_BIN); }
std::string installedHelperFolder(const std::string& exeDir) { return fromBin(exeDir, LUMIKO_HELPERS_FROM_BIN); }

LayoutFacts discoverLayout(const std::string& exeDir) {
    LayoutFacts f;
    const std::string cwd = workingFolder();
    const std::string installed = installedDataFolder(exeDir) + "/" + kTables;
    f.workingTables = isFolder(kTables);
    f.workingFolder = corePath(cwd);
    // The installed tables belong to the package: started in their own
    // folder, the program still keeps the choice in the user's folder.
    f.workingWritable = f.workingTables && ::access(kTables, W_OK) == 0 &&
                        realPath(kTables) != realPath(installed);
    f.installedTables = corePath(installed);
    f.installedWritable = false;
    // Without a home folder there are no user folders: nothing is written
    // in a folder other users share instead.
    const std::string configBase = configHome(), dataBase = xdgFolder("XDG_DATA_HOME", "/.local/share");
    const std::string config = configBase.empty() ? configBase : configBase + "/lumiko";
    const std::string dictionaries = dataBase.empty() ? dataBase : dataBase + "/lumiko/" + kTables + "/字典";
    f.userFolder = corePath(config);
    f.userDictionaries = corePath(dictionaries);
    const std::string data = xdgFolder("XDG_DATA_HOME", "/.local/share") + "/lumiko";
    f.userData = corePath(data);
    makeFolders(data);
    if (!f.workingTables || !f.workingWritable) {
        makeFolders(config);
        makeFolders(dictionaries);
    }
    return f;
}

}  // namespace lumiko::posix

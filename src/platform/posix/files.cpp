#include "platform/posix/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

#include "platform/posix/encoding.h"

namespace lumiko::posix {

namespace {

bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool endsWithNoCase(std::string_view name, std::string_view suffix) {
    if (suffix.size() > name.size()) return false;
    const size_t off = name.size() - suffix.size();
    for (size_t i = 0; i < suffix.size(); ++i)
        if (lower(name[off + i]) != lower(suffix[i])) return false;
    return true;
}

}  // namespace

std::string nativePath(const Text& corePath) {
    std::string p = gbkToUtf8(corePath);
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

Text corePath(const std::string& nativePath) { return utf8ToGbk(nativePath); }

bool readFile(const Text& path, std::string& bytes) {
    bytes.clear();
    const std::string native = nativePath(path);
    const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    std::string out;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        out.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    bytes = std::move(out);
    return true;
}

bool writeFile(const Text& path, const std::string& bytes) {
    const std::string native = nativePath(path);
    const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool ok = writeAll(fd, bytes);
    return ::close(fd) == 0 && ok;
}

bool replaceFile(const Text& path, const std::string& bytes) {
    const std::string native = nativePath(path);
    std::string tmp = native + ".XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) return false;
    bool ok = writeAll(fd, bytes) && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok) ok = ::rename(tmp.c_str(), native.c_str()) == 0;
    if (!ok) {
        ::unlink(tmp.c_str());
        return false;
    }
    // Make the rename itself durable.
    std::string dir = native;
    const size_t slash = dir.rfind('/');
    dir = slash == std::string::npos ? "." : slash == 0 ? "/" : dir.substr(0, slash);
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

bool fileExists(const Text& path) {
    struct stat st {};
    return ::stat(nativePath(path).c_str(), &st) == 0;
}

std::vector<Text> listFiles(const Text& folder, const Text& suffix) {
    std::vector<Text> names;
    // An empty folder is the working directory. Each entry is examined
    // relative to the open directory, so no path is put together here.
    const std::string native = nativePath(folder);
    DIR* dir = ::opendir(native.empty() ? "." : native.c_str());
    if (!dir) return names;
    const std::string nativeSuffix = gbkToUtf8(suffix);
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view name = e->d_name;
        if (name == "." || name == ".." || !endsWithNoCase(name, nativeSuffix)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), e->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode)) continue;
        names.push_back(utf8ToGbk(std::string(name)));
    }
    ::closedir(dir);
    return names;
}

Text tempFolder() {
    std::string dir;
    if (const char* env = std::getenv("TMPDIR"); env && *env) dir = env;
    else dir = "/tmp";
    while (!dir.empty() && dir.back() == '/') dir.pop_back();
    return corePath(dir) + "\\";
}

}  // namespace lumiko::posix

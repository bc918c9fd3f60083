#include "platform/posix/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/posix/encoding.h"
#include "platform/services.h"

namespace lumiko::posix {

namespace {

// The reason for the last failure of readFile, writeFile or replaceFile.
Text lastError;

bool fail(int err) {
    lastError = utf8ToGbk(std::strerror(err));
    return false;
}
bool fail(const char* reason) {
    lastError = utf8ToGbk(reason);
    return false;
}

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

// The temporary files replaceFile writes beside a file: its name, a dot and
// the six letters or digits mkstemp puts in place of XXXXXX.
bool isOwnTemporary(const std::string& name, const std::string& target) {
    if (name.size() != target.size() + 7 || name.compare(0, target.size(), target) != 0 ||
        name[target.size()] != '.')
        return false;
    for (size_t i = target.size() + 1; i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

// Removes what an interrupted earlier replacement of `target` (a file name)
// left in `dir`: its rename never ran, so nothing refers to it.
void removeStaleTemporaries(const std::string& dir, const std::string& target) {
    DIR* d = ::opendir(dir.c_str());
    if (!d) return;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (isOwnTemporary(name, target)) ::unlink((dir + "/" + name).c_str());
    }
    ::closedir(d);
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
    lastError.clear();
    const std::string native = nativePath(path);
    // Not blocking: a named pipe in place of a table must not stall the
    // open; it is refused below like every other file that is not regular.
    const int fd = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail(errno);
    struct stat st {};
    const char* refusal = nullptr;
    if (::fstat(fd, &st) != 0) refusal = std::strerror(errno);
    else if (!S_ISREG(st.st_mode)) refusal = S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : "not a regular file";
    else if (static_cast<std::uint64_t>(st.st_size) > kMaxFileBytes) refusal = "larger than 64 MiB";
    if (refusal) {
        ::close(fd);
        return fail(refusal);
    }
    std::string out;
    out.reserve(static_cast<size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            const int err = errno;
            ::close(fd);
            return fail(err);
        }
        if (n == 0) break;
        out.append(buf, static_cast<size_t>(n));
        // A file that grows while it is read is refused as a whole, too.
        if (out.size() > kMaxFileBytes) {
            ::close(fd);
            return fail("larger than 64 MiB");
        }
    }
    ::close(fd);
    bytes = std::move(out);
    return true;
}

bool writeFile(const Text& path, const std::string& bytes) {
    lastError.clear();
    const std::string native = nativePath(path);
    const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return fail(errno);
    if (!writeAll(fd, bytes)) {
        const int err = errno;
        ::close(fd);
        return fail(err);
    }
    return ::close(fd) == 0 || fail(errno);
}

bool replaceFile(const Text& path, const std::string& bytes, unsigned mode) {
    lastError.clear();
    const std::string native = nativePath(path);
    const size_t slash = native.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : native.substr(0, slash);
    removeStaleTemporaries(dir, slash == std::string::npos ? native : native.substr(slash + 1));
    std::string tmp = native + ".XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) return fail(errno);
    int err = 0;
    if (!writeAll(fd, bytes) || ::fchmod(fd, static_cast<mode_t>(mode)) != 0 || ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && ::rename(tmp.c_str(), native.c_str()) != 0) err = errno;
    if (err != 0) {
        ::unlink(tmp.c_str());
        return fail(err);
    }
    // Make the rename itself durable.
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

Text lastFileError() { return lastError; }

Text absolutePath(const Text& path) {
    const std::string native = nativePath(path);
    if (!native.empty() && native.front() == '/') return utf8ToGbk(native);
    std::string dir(4096, '\0');
    if (!::getcwd(dir.data(), dir.size())) return utf8ToGbk(native);
    dir.resize(std::strlen(dir.c_str()));
    return utf8ToGbk(dir == "/" ? dir + native : dir + "/" + native);
}

bool fileExists(const Text& path) {
    struct stat st {};
    return ::stat(nativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
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

#include "platform/posix/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
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

// A save keeps its temporary file locked (flock) from its creation to its
// rename; one that nobody holds was left by a save that was interrupted. On
// a file system without such locks, one older than a minute counts as left.
constexpr time_t kStaleSeconds = 60;

// Removes `name` in the open folder `dirFd` when no save holds it, checking,
// while holding it, that the name still leads to the file that was locked.
void removeIfStale(int dirFd, const char* name) {
    const int fd = ::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    struct stat held {}, now {};
    bool stale = false;
    if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode)) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) stale = true;
        else if (errno != EWOULDBLOCK) stale = ::time(nullptr) - held.st_mtime > kStaleSeconds;
    }
    if (stale && ::fstatat(dirFd, name, &now, AT_SYMLINK_NOFOLLOW) == 0 && now.st_dev == held.st_dev &&
        now.st_ino == held.st_ino)
        ::unlinkat(dirFd, name, 0);
    ::close(fd);
}

// Removes what an interrupted earlier replacement of `target` (a file name)
// left in `dir`; the temporary files of saves still running stay.
void removeStaleTemporaries(const std::string& dir, const std::string& target) {
    DIR* d = ::opendir(dir.c_str());
    if (!d) return;
    while (const dirent* e = ::readdir(d))
        if (isOwnTemporary(e->d_name, target)) removeIfStale(::dirfd(d), e->d_name);
    ::closedir(d);
}

// A new temporary file for `native`, locked for this save: the name and an
// open descriptor, or -1 with errno set.
int makeTemporary(const std::string& native, std::string& tmp) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        tmp = native + ".XXXXXX";
        const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
        if (fd < 0) return -1;
        // Another save may have found it unlocked and removed it in the
        // moment between its creation and the lock: then take another.
        struct stat st {};
        const bool locked = ::flock(fd, LOCK_EX) == 0 || errno != EINTR;
        if (locked && ::fstat(fd, &st) == 0 && st.st_nlink > 0) return fd;
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
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
    if (native.empty() || native.back() == '/') return fail(ENOENT);
    const size_t slash = native.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : native.substr(0, slash);
    removeStaleTemporaries(dir, slash == std::string::npos ? native : native.substr(slash + 1));
    std::string tmp;
    const int fd = makeTemporary(native, tmp);
    if (fd < 0) return fail(errno);
    int err = 0;
    if (!writeAll(fd, bytes) || ::fchmod(fd, static_cast<mode_t>(mode)) != 0 || ::fsync(fd) != 0) err = errno;
    // The close reports a write the file system could not complete; a
    // second descriptor of the same opening keeps the lock until the rename.
    const int lockFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && ::rename(tmp.c_str(), native.c_str()) != 0) err = errno;
    if (err != 0) ::unlink(tmp.c_str());
    if (lockFd >= 0) ::close(lockFd);
    if (err != 0) return fail(err);
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

namespace {

// What writePrivateFile made, in fixed buffers: a signal handler removes them.
char madeFile[4096];
char madeFolder[4096];

bool copyPath(char (&to)[4096], const std::string& from) {
    if (from.size() >= sizeof to) return false;
    std::memcpy(to, from.c_str(), from.size() + 1);
    return true;
}

// Why the open folder `fd` is no private folder of this user's; null when it is.
const char* notPrivate(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return std::strerror(errno);
    if (!S_ISDIR(st.st_mode)) return "not a folder";
    if (st.st_uid != ::geteuid()) return "owned by another user";
    if ((st.st_mode & 077) != 0) return "open to other users";
    return nullptr;
}

// Opens `path` as a folder without following a link there; -1 when it is
// not a private folder of this user's.
int openPrivateFolder(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return -1;
    if (notPrivate(fd)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// $XDG_RUNTIME_DIR/lumiko, made when missing; empty when the session has no
// runtime folder, or it or our folder in it could be reached by another user.
std::string runtimeFolder() {
    const char* env = std::getenv("XDG_RUNTIME_DIR");
    if (!env || env[0] != '/') return {};
    std::string base = env;
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    const int baseFd = openPrivateFolder(base);
    if (baseFd < 0) return {};
    ::close(baseFd);
    const std::string folder = base + "/lumiko";
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
    const int fd = openPrivateFolder(folder);
    if (fd < 0) return {};
    ::close(fd);
    return folder;
}

void removeOnSignal(int signal) {
    removePrivateFiles();
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

}  // namespace

bool writeNewFile(const Text& path, const std::string& bytes) {
    lastError.clear();
    const int fd = ::open(nativePath(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return fail(errno);
    int err = writeAll(fd, bytes) ? 0 : errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    return err == 0 || fail(err);
}

Text writePrivateFile(const Text& name, const std::string& bytes) {
    lastError.clear();
    removePrivateFiles();
    // A folder of its own for every run: two panels of one user never share
    // a page, and the one that ends removes only its own. mkdtemp makes the
    // folder new (a name already there, even a link, is never used), closed
    // to other users.
    std::string base = runtimeFolder();
    std::string folder = base.empty() ? nativePath(tempFolder()) + "lumiko-XXXXXX" : base + "/page-XXXXXX";
    if (!::mkdtemp(folder.data())) {
        fail(errno);
        return {};
    }
    const std::string file = folder + "/" + gbkToUtf8(name);
    if (!copyPath(madeFolder, folder) || !copyPath(madeFile, file)) {
        ::rmdir(folder.c_str());
        madeFolder[0] = '\0';
        fail(ENAMETOOLONG);
        return {};
    }
    static std::once_flag atExit;
    std::call_once(atExit, [] { std::atexit(removePrivateFiles); });
    if (!writeNewFile(corePath(file), bytes)) {
        const Text reason = lastError;
        removePrivateFiles();
        lastError = reason;
        return {};
    }
    return corePath(file);
}

void removePrivateFiles() {
    if (madeFile[0]) ::unlink(madeFile);
    if (madeFolder[0]) ::rmdir(madeFolder);
    madeFile[0] = madeFolder[0] = '\0';
}

void removePrivateFilesOnSignals() {
    for (const int s : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction now {};
        // A signal the program was told to ignore stays ignored.
        if (::sigaction(s, nullptr, &now) == 0 && now.sa_handler == SIG_IGN) continue;
        struct sigaction act {};
        act.sa_handler = removeOnSignal;
        sigemptyset(&act.sa_mask);
        ::sigaction(s, &act, nullptr);
    }
}

}  // namespace lumiko::posix

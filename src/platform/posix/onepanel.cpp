#include "platform/posix/onepanel.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/posix/runtimefolder.h"

namespace lumiko::posix {

namespace {

constexpr const char* kLockName = "/panel.lock";
// The signal by which a later start asks the panel to show itself.
constexpr int kShowSignal = SIGUSR1;

// The write end of the pipe the signal handler reports through.
volatile sig_atomic_t requestWriter = -1;

void onShowSignal(int) {
    const int saved = errno;
    const char byte = 1;
    if (requestWriter >= 0) {
        const ssize_t n = ::write(requestWriter, &byte, 1);
        static_cast<void>(n);  // a full pipe already holds a request
    }
    errno = saved;
}

flock wholeFile(short type) {
    flock l{};
    l.l_type = type;
    l.l_whence = SEEK_SET;
    return l;
}

}  // namespace

OnePanel::~OnePanel() {
    if (requests_ >= 0) {
        ::signal(kShowSignal, SIG_IGN);
        const int writer = requestWriter;
        requestWriter = -1;
        ::close(writer);
        ::close(requests_);
    }
    if (lock_ >= 0) ::close(lock_);
}

OnePanel::Claim OnePanel::claim(std::string& problem) { return claim(problem, 3); }

OnePanel::Claim OnePanel::claim(std::string& problem, int attemptsLeft) {
    problem.clear();
    const std::string folder = privateRuntimeFolder(problem);
    if (folder.empty()) return Claim::Unchecked;
    const std::string path = folder + kLockName;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        problem = path + ": " + std::strerror(errno);
        return Claim::Unchecked;
    }
    // The request pipe and the handler come before the lock: a later start
    // may send the signal as soon as the lock is held.
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        problem = std::string("pipe: ") + std::strerror(errno);
        ::close(fd);
        return Claim::Unchecked;
    }
    requestWriter = pipeFds[1];
    struct sigaction action {};
    action.sa_handler = onShowSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(kShowSignal, &action, nullptr);

    // A record lock, not flock(): it dies with this process, never with a
    // child that outlives it, and the system can name its holder.
    flock mine = wholeFile(F_WRLCK);
    if (::fcntl(fd, F_SETLK, &mine) == 0) {
        lock_ = fd;
        requests_ = pipeFds[0];
        return Claim::Ours;
    }
    const int err = errno;
    ::signal(kShowSignal, SIG_DFL);
    requestWriter = -1;
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    if (err != EAGAIN && err != EACCES) {
        problem = path + ": " + std::strerror(err);
        ::close(fd);
        return Claim::Unchecked;
    }
    flock holder = wholeFile(F_WRLCK);
    const bool asked = ::fcntl(fd, F_GETLK, &holder) == 0;
    ::close(fd);
    // The holder ended in between: this start tries to become the panel.
    if (asked && holder.l_type == F_UNLCK && attemptsLeft > 0) return claim(problem, attemptsLeft - 1);
    if (!asked || holder.l_type == F_UNLCK || holder.l_pid <= 0)
        problem = "the running panel cannot be asked to show itself";
    else if (::kill(holder.l_pid, kShowSignal) != 0)
        problem = "asking the running panel to show itself: " + std::string(std::strerror(errno));
    return Claim::ShownOther;
}

bool OnePanel::takeRequests() {
    if (requests_ < 0) return false;
    bool any = false;
    char buf[64];
    while (::read(requests_, buf, sizeof buf) > 0) any = true;
    return any;
}

}  // namespace lumiko::posix

// One panel per user session. The first panel holds a lock on a file in the
// user's private runtime folder for as long as it runs; a later start finds
// the lock held, asks the holder to show itself (SIGUSR1, sent to the
// process the lock names) and ends. No socket is involved.
#pragma once

#include <string>

namespace lumiko::posix {

class OnePanel {
public:
    enum class Claim {
        Ours,        // this is the session's panel
        ShownOther,  // another panel runs and was asked to show itself
        Unchecked,   // no private folder or no lock: started without the check
    };

    OnePanel() = default;
    ~OnePanel();
    OnePanel(const OnePanel&) = delete;
    OnePanel& operator=(const OnePanel&) = delete;

    // Takes the lock, or asks the panel that holds it to show itself. Why
    // the check could not be made goes to `problem`.
    Claim claim(std::string& problem);

    // Readable when a later start asked this panel to show itself (only
    // after claim() returned Ours); -1 otherwise. takeRequests() empties it
    // and says whether there was one.
    int requestFd() const { return requests_; }
    bool takeRequests();

private:
    Claim claim(std::string& problem, int attemptsLeft);

    int lock_ = -1;
    int requests_ = -1;
};

}  // namespace lumiko::posix

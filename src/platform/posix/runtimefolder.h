// A folder only the user can reach, for what the panel keeps while it runs
// (the lock that makes it the session's one panel): $XDG_RUNTIME_DIR/lumiko,
// or, without a runtime folder of the user's alone, $XDG_CACHE_HOME/lumiko
// (~/.cache/lumiko).
#pragma once

#include <string>

namespace lumiko::posix {

// The native path of the folder, made when missing (mode 0700). Empty, with
// the reason in `problem`, when there is none that is the user's alone: the
// folder is owned by another account, open to others, a symbolic link, or
// cannot be made.
std::string privateRuntimeFolder(std::string& problem);

}  // namespace lumiko::posix

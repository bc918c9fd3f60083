// Where the Linux panel finds its files: a 词库 in the working folder, or the
// tables installed with the program (<prefix>/share/lumiko/词库, found from
// the executable's own folder, so that an installed tree can be moved); the
// user's choice in $XDG_CONFIG_HOME/lumiko and the user's dictionaries in
// $XDG_DATA_HOME/lumiko/词库/字典.
#pragma once

#include <string>

#include "platform/filelayout.h"

namespace lumiko::posix {

// The installed data folder (holding 词库 and pinyin.txt) of a program whose
// executable lies in `exeDir`.
std::string installedDataFolder(const std::string& exeDir);
// The folder of the program's own modules (the browser view's), installed
// under <prefix>/lib/lumiko, for a program whose executable lies in `exeDir`.
std::string installedModuleFolder(const std::string& exeDir);

// The facts for a program whose executable lies in `exeDir` (native path),
// started in the current working folder. When the user's folders are the
// ones written, they are created.
LayoutFacts discoverLayout(const std::string& exeDir);

}  // namespace lumiko::posix

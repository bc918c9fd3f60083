// Where the Linux panel finds its files: a 词库 in the working folder, or the
// tables installed with the program (<prefix>/share/lumiko/词库, found from
// the executable's own folder, so that an installed tree can be moved); the
// user's choice in $XDG_CONFIG_HOME/lumiko and the user's dictionaries in
// $XDG_DATA_HOME/lumiko/词库/字典.
#pragma once

#include <string>

#include "platform/filelayout.h"

namespace lumiko::posix {

// The user's home folder: $HOME when it is absolute, else the password
// database's entry for the user; empty when neither names a folder of the
// user's own (the root folder is everybody's).
std::string homeFolder();
// $XDG_CONFIG_HOME when it is absolute (a relative value is ignored), else
// ~/.config; empty without a home folder.
std::string configHome();
// mkdir -p of an absolute path, new folders private to the user (0700);
// false when the folder is not there afterwards.
bool makeFolders(const std::string& path);

// The installed data folder (holding 词库 and pinyin.txt) of a program whose
// executable lies in `exeDir`.
std::string installedDataFolder(const std::string& exeDir);
// The folder of the program's own helper programs (the handwriting page's),
// installed under <prefix>/libexec/lumiko, for a program whose executable
// lies in `exeDir`.
std::string installedHelperFolder(const std::string& exeDir);

// The facts for a program whose executable lies in `exeDir` (native path),
// started in the current working folder. When the user's folders are the
// ones written, they are created. Without a home folder the user's folders
// are empty: the choice is then read from the tables and never stored.
LayoutFacts discoverLayout(const std::string& exeDir);

}  // namespace lumiko::posix

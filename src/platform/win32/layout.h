// Where the Windows panel finds its files: a 词库 in the working folder, or
// the one beside lumiko.exe; the user's choice and dictionaries go to
// %APPDATA%\Lumiko when the tables' folder is not writable (Program Files).
#pragma once

#include "platform/filelayout.h"

namespace lumiko::win32 {

// The facts for the running program; creates the user's folders when they
// are the ones written.
LayoutFacts discoverLayout();

// The user's folder, %APPDATA%\Lumiko (not created here).
Text userFolder();

// True when a file can be created in the folder (a probe that removes
// itself): the folder's permissions, not its read-only attribute, decide.
bool folderWritable(const Text& folder);

}  // namespace lumiko::win32

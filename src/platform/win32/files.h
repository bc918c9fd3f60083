// The file system behind the core's paths, through the system's UTF-16 calls.
#pragma once

#include <string>
#include <vector>

#include "engine/gbktext.h"

namespace lumiko::win32 {

// A missing or unreadable file reads as false and an empty `bytes`; so does
// a folder, a device and a file larger than kMaxFileBytes.
bool readFile(const Text& path, std::string& bytes);
bool writeFile(const Text& path, const std::string& bytes);
// Writes beside the target, flushes, and moves the new file over it, so the
// target holds either the old or the new content.
bool replaceFile(const Text& path, const std::string& bytes);
// The system's reason for the last failed readFile, writeFile or replaceFile.
Text lastFileError();
// The system's words for an error number (GetLastError).
std::wstring systemMessage(unsigned long err);
// The full native path of a core path, in GBK (for messages).
Text absolutePath(const Text& path);
bool fileExists(const Text& path);
// Names of the files in `folder` whose names end with `suffix` (letters
// compared without regard to case), in the order the system returns them.
std::vector<Text> listFiles(const Text& folder, const Text& suffix);

// The temporary-files folder, ending with '\'.
Text tempFolder();
// The folder of the running executable, without a trailing separator.
Text exeFolder();

// Writes `bytes` as the new file `name` in a folder made for this run under
// the temporary-files folder (the user's own): a name already taken there,
// by anything, is never reused, nor a link followed. The file's core path,
// or an empty text with the reason in lastFileError().
Text writePrivateFile(const Text& name, const std::string& bytes);
// Removes the file and the folder writePrivateFile made.
void removePrivateFiles();

}  // namespace lumiko::win32

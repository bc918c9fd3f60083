// The file system behind the core's paths. The core builds paths as GBK texts
// with '\' separators: relative to the current directory, or beginning with
// an absolute folder that tempFolder() or an executable folder handed to it.
// A core path maps to a native path by converting it to UTF-8 and turning
// every '\' into '/'; absolute folders are handed to the core in the same
// form ('/' as separator), so "/tmp\s1.html" names /tmp/s1.html.
#pragma once

#include <string>
#include <vector>

#include "engine/gbktext.h"

namespace lumiko::posix {

std::string nativePath(const Text& corePath);
// The core form of a native path: GBK, separators unchanged.
Text corePath(const std::string& nativePath);

// A missing or unreadable file reads as false and an empty `bytes`; so does
// anything that is not a regular file (a pipe is refused without waiting)
// and a file larger than kMaxFileBytes.
bool readFile(const Text& path, std::string& bytes);
bool writeFile(const Text& path, const std::string& bytes);
// Writes a temporary file in the same folder, flushes it to disk and renames
// it over the target, so that the target holds either the old or the new
// content whatever happens. The temporary files an interrupted earlier
// replacement left (the target's name, a dot and six letters or digits) are
// removed first.
bool replaceFile(const Text& path, const std::string& bytes, unsigned mode = 0644);
// The reason for the last failed readFile, writeFile or replaceFile (GBK).
Text lastFileError();
// The native path of a core path, absolute, in GBK (for messages).
Text absolutePath(const Text& path);
// True for a regular file (a folder or a pipe is no file).
bool fileExists(const Text& path);
// Names of the regular files in `folder` whose names end with `suffix`
// (letters compared without regard to case, as on the Windows desktop), in
// the order the directory returns them.
std::vector<Text> listFiles(const Text& folder, const Text& suffix);

// The temporary-files folder in core form, ending with '\': $TMPDIR, or /tmp.
Text tempFolder();

// Writes `bytes` as a new file: nothing standing at `path` (a file, a link,
// a pipe) is followed, opened or reused; the file is readable by this user
// alone.
bool writeNewFile(const Text& path, const std::string& bytes);
// Writes `bytes` as the new file `name` in a folder of this user's made for
// this run, which no other account can reach: under $XDG_RUNTIME_DIR/lumiko
// when the session's runtime folder is usable (absolute, a folder of this
// user's closed to others), else under the temporary-files folder. The
// file's core path, or an empty text with the reason in lastFileError().
// The folder is removed at exit, and by removePrivateFiles().
Text writePrivateFile(const Text& name, const std::string& bytes);
// Removes the file and the folder writePrivateFile made (nothing else).
// Uses only calls a signal handler may make.
void removePrivateFiles();
// Removes them too when the program ends on SIGTERM, SIGINT or SIGHUP, then
// ends it as the signal would have.
void removePrivateFilesOnSignals();

}  // namespace lumiko::posix

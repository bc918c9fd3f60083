// The one rule for dictionary names, used by the settings window's list and
// save and by start-up's load. A name stands for the file name + ".txt" in
// the dictionary folder, the extension in any case of its letters.
#pragma once

#include <string_view>
#include <vector>

#include "engine/gbktext.h"

namespace lumiko {

// Whether a path may hold ':' inside a file name: on Windows it would
// address a data stream of another file.
#ifdef _WIN32
constexpr bool kColonSeparates = true;
#else
constexpr bool kColonSeparates = false;
#endif

// Why `name` cannot be stored as the choice, in words, or empty when it can:
// it must stay inside the dictionary folder (no '\\' or '/', read as whole
// GBK characters so that a trail byte 0x5C is no separator; no ':' where
// `colonSeparates`; no NUL byte), be whole GBK text, and come back unchanged
// from trimStoredName. "." and ".." are ordinary names (the files "..txt"
// and "...txt").
Text dictionaryNameProblem(std::string_view name, bool colonSeparates = kColonSeparates);

// The name held in the settings file: its content without the blanks and
// line breaks around it (text editors end a file with a line break).
Text trimStoredName(std::string_view stored);

// The files of the dictionary folder that may hold dictionary `name`, in the
// order to try them, given the folder's .txt files: name + ".txt" when that
// is listed, then each listed name + an extension of other case (".TXT"), or
// name + ".txt" alone when none is listed. The stored name has no extension,
// so a file that cannot be read gives way to the next.
std::vector<Text> dictionaryFileNames(const Text& name, const std::vector<Text>& listing);

}  // namespace lumiko

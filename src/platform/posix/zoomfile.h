// The file that keeps the zoom the user chose from the panel's menu for the
// next start: $XDG_CONFIG_HOME/lumiko/zoom (~/.config when XDG_CONFIG_HOME is
// not an absolute path), one line holding the percent. It is read as the
// tables are (a regular file, not a pipe, of bounded size) and stored whole
// or not at all.
#pragma once

#include <string>

#include "engine/gbktext.h"

namespace lumiko::posix {

// The native path of the file; empty when the user has no home folder.
std::string zoomFilePath();

// The first 64 bytes of the stored file. False when there is none (an
// empty `problem`) or it cannot be read (the path and the reason, GBK, in
// `problem`).
bool readZoomFile(std::string& text, Text& problem);

// Stores the percent; the old file stays as it was unless the new one was
// written whole. False, with the path and the reason (GBK) in `problem`,
// when it could not be stored.
bool writeZoomFile(int percent, Text& problem);

}  // namespace lumiko::posix

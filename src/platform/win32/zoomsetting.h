// The zoom the user chose from the panel's menu, kept for the next start in
// the user's folder: %APPDATA%\Lumiko\zoom, whatever folder the tables are in.
#pragma once

#include "engine/gbktext.h"

namespace lumiko::win32 {

Text zoomSettingPath();

// The stored zoom, or 0 when none is stored. A file that cannot be read or
// holds no zoom reads as 0 and says why in `problem`.
int loadZoom(const Text& path, Text& problem);

// Stores the zoom whole or not at all (the old file stays as it was),
// creating the file's folder; false, with the reason in `problem`, when it
// cannot.
bool saveZoom(const Text& path, int percent, Text& problem);

}  // namespace lumiko::win32

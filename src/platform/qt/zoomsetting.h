// The zoom the user chose from the panel's menu, kept for the next start in
// the user's settings folder (platform/posix/zoomfile.h).
#pragma once

#include <QString>

namespace lumiko::desktop {

QString zoomSettingPath();

// The stored zoom, or 0 when none is stored. A file that cannot be read or
// holds no zoom reads as 0 and says why in `problem`.
int loadZoom(QString& problem);

// Stores the zoom whole or not at all (the old file stays as it was); false,
// with the reason in `problem`, when it could not be stored.
bool saveZoom(int percent, QString& problem);

}  // namespace lumiko::desktop

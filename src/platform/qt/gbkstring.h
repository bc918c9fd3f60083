// The Qt edge of the core's texts: a GBK text as a QString.
#pragma once

#include <QString>

#include "engine/gbktext.h"
#include "platform/posix/encoding.h"

namespace lumiko::desktop {

inline QString fromGbk(const Text& gbk) { return QString::fromStdString(posix::gbkToUtf8(gbk)); }

}  // namespace lumiko::desktop

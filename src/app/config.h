// Configuration of the panel: where the maker's forum lives, and what a
// stored dictionary choice may hold.
#pragma once

#include <string_view>

#include "engine/gbktext.h"

namespace lumiko {

// The forum's home page without a trailing slash: LUMIKO_FORUM_URL from the
// environment when it is set and not empty, otherwise the address the build
// was configured with.
Text forumUrl();

// True when a dictionary name names a file inside the dictionary folder:
// not "." or "..", and no path separator ('\' or '/') or drive colon. The
// name is read as whole GBK characters, so that a trail byte 0x5C inside a
// character is not taken for a separator.
bool isBareDictionaryName(std::string_view name);

}  // namespace lumiko

// Configuration of the panel: where the maker's forum lives.
#pragma once

#include "engine/gbktext.h"

namespace lumiko {

// The forum's home page without a trailing slash: LUMIKO_FORUM_URL from the
// environment when it is set and not empty, otherwise the address the build
// was configured with.
Text forumUrl();

}  // namespace lumiko

#include "app/config.h"

#include <cstdlib>

#ifndef LUMIKO_FORUM_URL
#error "LUMIKO_FORUM_URL must be defined by the build"
#endif

namespace lumiko {

Text forumUrl() {
    const char* env = std::getenv("LUMIKO_FORUM_URL");
    Text url = env && *env ? Text(env) : Text(LUMIKO_FORUM_URL);
    while (!url.empty() && url.back() == '/') url.pop_back();
    return url;
}

}  // namespace lumiko

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

bool isBareDictionaryName(std::string_view name) {
    if (name == "." || name == "..") return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const auto b = static_cast<unsigned char>(name[i]);
        if (b >= 0x81 && b <= 0xFE && i + 1 < name.size()) {
            ++i;  // the trail byte of a two-byte character
            continue;
        }
        if (b == '\\' || b == '/' || b == ':') return false;
    }
    return true;
}

}  // namespace lumiko

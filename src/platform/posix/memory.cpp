#include "platform/posix/memory.h"

#include <sys/mman.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace lumiko::posix {

bool isFontFile(std::string_view path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.size() - dot != 4) return false;
    std::string ext(path.substr(dot + 1));
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == "ttf" || ext == "ttc" || ext == "otf" || ext == "otc";
}

std::size_t releaseFontPages(const std::string& mapsFile) {
    struct Area {
        unsigned long start = 0, end = 0;
        bool candidate = false;   // read-only, private or shared, of a font file
        bool ownPages = false;    // copied on write at some time
        bool resident = false;
    };
    std::vector<Area> areas;
    std::ifstream smaps(mapsFile);
    for (std::string line; std::getline(smaps, line);) {
        // "start-end perms offset dev inode path" opens each mapping; its
        // figures follow as "Name: value kB".
        const size_t dash = line.find('-');
        const size_t space = line.find(' ');
        if (dash != std::string::npos && space != std::string::npos && dash < space &&
            std::all_of(line.begin(), line.begin() + static_cast<long>(dash), ::isxdigit)) {
            Area a;
            a.start = std::strtoul(line.c_str(), nullptr, 16);
            a.end = std::strtoul(line.c_str() + dash + 1, nullptr, 16);
            const std::string perms = line.substr(space + 1, 4);
            const size_t slash = line.find('/');
            a.candidate = perms.size() == 4 && perms[0] == 'r' && perms[1] == '-' && perms[2] == '-' &&
                          slash != std::string::npos && isFontFile(line.substr(slash));
            areas.push_back(a);
            continue;
        }
        if (areas.empty()) continue;
        const long kb = std::atol(line.c_str() + line.find(':') + 1);
        if (line.rfind("Anonymous:", 0) == 0 && kb > 0) areas.back().ownPages = true;
        if (line.rfind("Rss:", 0) == 0 && kb > 0) areas.back().resident = true;
    }
    std::size_t released = 0;
    for (const Area& a : areas) {
        if (!a.candidate || a.ownPages || !a.resident || a.end <= a.start) continue;
        if (madvise(reinterpret_cast<void*>(a.start), a.end - a.start, MADV_DONTNEED) == 0) ++released;
    }
    return released;
}

}  // namespace lumiko::posix

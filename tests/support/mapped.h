// Whether the process has a file mapped whose path holds a name: a library
// the panel loads only when first used is not there before.
#pragma once

#include <fstream>
#include <string>

namespace lumiko::testing {

inline bool mapped(const std::string& name) {
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);)
        if (line.find(name) != std::string::npos) return true;
    return false;
}

}  // namespace lumiko::testing

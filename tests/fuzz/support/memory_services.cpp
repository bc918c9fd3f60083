#include "memory_services.h"

namespace lumiko::fuzz {

namespace {
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

// (assigned by character: GCC 12 misreads the copy of a literal here as an
// overlapping one)
MemoryServices::MemoryServices() { exeDir.assign(1, '.'); }

void MemoryServices::clearRecords() {
    chars.clear();
    chars.shrink_to_fit();
    keys.clear();
    keys.shrink_to_fit();
    messages.clear();
    messages.shrink_to_fit();
    opened.clear();
    opened.shrink_to_fit();
    downloads.clear();
    downloads.shrink_to_fit();
    navigations.clear();
    navigations.shrink_to_fit();
    logged.clear();
    logged.shrink_to_fit();
    reads.clear();
    reads.shrink_to_fit();
}

Text MemoryServices::normal(const Text& path) { return path.rfind(".\\", 0) == 0 ? path.substr(2) : path; }

bool MemoryServices::readFile(const Text& path, std::string& bytes) {
    reads.push_back(path);
    const auto it = files.find(normal(path));
    if (it == files.end()) {
        bytes.clear();
        return false;
    }
    bytes = it->second;
    return true;
}

bool MemoryServices::writeFile(const Text& path, const std::string& bytes) {
    ++writeAttempts;
    if (writesFail) return false;
    files[normal(path)] = bytes;
    return true;
}

bool MemoryServices::replaceFile(const Text& path, const std::string& bytes) { return writeFile(path, bytes); }

bool MemoryServices::fileExists(const Text& path) { return files.count(normal(path)) != 0; }

std::vector<Text> MemoryServices::listFiles(const Text& folder, const Text& suffix) {
    std::vector<Text> names;
    const auto it = folders.find(normal(folder));
    if (it == folders.end()) return names;
    for (const Text& name : it->second) {
        if (name.size() < suffix.size()) continue;
        bool match = true;
        for (size_t i = 0; i < suffix.size(); ++i)
            match = match && lower(name[name.size() - suffix.size() + i]) == lower(suffix[i]);
        if (match) names.push_back(name);
    }
    return names;
}

Text MemoryServices::tempFolder() { return "temp\\"; }

Text MemoryServices::writePrivateFile(const Text& name, const std::string& bytes) {
    const Text path = tempFolder() + name;
    return writeFile(path, bytes) ? path : Text();
}

}  // namespace lumiko::fuzz

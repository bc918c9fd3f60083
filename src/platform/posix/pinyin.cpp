#include "platform/posix/pinyin.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/posix/encoding.h"
#include "platform/posix/layout.h"

namespace lumiko::posix {

namespace {

bool readWhole(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    out = ss.str();
    return true;
}

std::string exeDir() {
    char buf[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    std::string p(buf, static_cast<size_t>(n));
    const size_t slash = p.rfind('/');
    return slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
}

PinyinTable loadShipped() {
    std::vector<std::string> candidates;
    if (const char* env = std::getenv("LUMIKO_PINYIN"); env && *env) candidates.emplace_back(env);
    const std::string dir = exeDir();
    if (!dir.empty()) candidates.push_back(dir + "pinyin.txt");
    candidates.emplace_back("pinyin.txt");
    const std::string installed = installedDataFolder(dir.empty() ? "." : dir.substr(0, dir.size() - 1));
    candidates.push_back(installed + "/pinyin.txt");
    PinyinTable table;
    for (const auto& path : candidates) {
        std::string text;
        if (readWhole(path, text)) {
            table.parse(text);
            return table;
        }
    }
    std::cerr << "lumiko: no pinyin table (LUMIKO_PINYIN, pinyin.txt beside the program, in the working folder or in "
              << installed << ")" << std::endl;
    return table;
}

}  // namespace

std::vector<Text> PinyinTable::readings(const Text& gbk) const {
    std::vector<Text> out;
    for (const auto& r : table_.readings(gbkToUtf8(gbk))) out.push_back(utf8ToGbk(r));
    return out;
}

std::vector<Text> pinyinReadings(const Text& gbk) {
    static const PinyinTable table = loadShipped();
    return table.readings(gbk);
}

}  // namespace lumiko::posix

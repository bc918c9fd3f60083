#include "platform/posix/pinyin.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/posix/encoding.h"

#ifndef LUMIKO_PINYIN_FILE
#define LUMIKO_PINYIN_FILE "pinyin.txt"
#endif

namespace lumiko::posix {

namespace {

// Splits UTF-8 text into its code points (a broken sequence yields its bytes
// one by one).
std::vector<std::string_view> codePoints(std::string_view s) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
        if (i + len > s.size()) len = 1;
        for (size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) len = 1;
        out.push_back(s.substr(i, len));
        i += len;
    }
    return out;
}

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
    if (const std::string dir = exeDir(); !dir.empty()) candidates.push_back(dir + "pinyin.txt");
    candidates.emplace_back("pinyin.txt");
    candidates.emplace_back(LUMIKO_PINYIN_FILE);
    PinyinTable table;
    for (const auto& path : candidates) {
        std::string text;
        if (readWhole(path, text)) {
            table.parse(text);
            break;
        }
    }
    return table;
}

}  // namespace

void PinyinTable::parse(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    while (!text.empty()) {
        const size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos || tab == 0) continue;
        const std::string ch(line.substr(0, tab));
        if (codePoints(ch).size() != 1 || table_.count(ch)) continue;
        std::vector<std::string> readings;
        std::string_view rest = line.substr(tab + 1);
        while (!rest.empty()) {
            const size_t sp = rest.find(' ');
            if (const auto r = rest.substr(0, sp); !r.empty()) readings.emplace_back(r);
            rest.remove_prefix(sp == std::string_view::npos ? rest.size() : sp + 1);
        }
        if (!readings.empty()) table_.emplace(ch, std::move(readings));
    }
}

std::vector<Text> PinyinTable::readings(const Text& gbk) const {
    const std::string utf8 = gbkToUtf8(gbk);
    const auto chars = codePoints(utf8);
    std::vector<Text> out;
    if (chars.size() == 1) {
        if (const auto it = table_.find(std::string(chars[0])); it != table_.end())
            for (const auto& r : it->second) out.push_back(utf8ToGbk(r));
        return out;
    }
    std::string joined;
    for (const auto c : chars) {
        const auto it = table_.find(std::string(c));
        if (it == table_.end()) continue;
        if (!joined.empty()) joined += ' ';
        joined += it->second.front();
    }
    if (!joined.empty()) out.push_back(utf8ToGbk(joined));
    return out;
}

std::vector<Text> pinyinReadings(const Text& gbk) {
    static const PinyinTable table = loadShipped();
    return table.readings(gbk);
}

}  // namespace lumiko::posix

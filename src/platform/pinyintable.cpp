#include "platform/pinyintable.h"

namespace lumiko {

std::vector<std::string_view> utf8CodePoints(std::string_view s) {
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
        if (utf8CodePoints(ch).size() != 1 || table_.count(ch)) continue;
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

std::vector<std::string> PinyinTable::readings(std::string_view utf8) const {
    const auto chars = utf8CodePoints(utf8);
    if (chars.size() == 1) {
        const auto it = table_.find(std::string(chars[0]));
        return it == table_.end() ? std::vector<std::string>{} : it->second;
    }
    std::string joined;
    for (const auto c : chars) {
        const auto it = table_.find(std::string(c));
        if (it == table_.end()) continue;
        if (!joined.empty()) joined += ' ';
        joined += it->second.front();
    }
    if (joined.empty()) return {};
    return {joined};
}

}  // namespace lumiko

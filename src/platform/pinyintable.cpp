#include "platform/pinyintable.h"

#include <algorithm>

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
    if (text_.size() + text.size() + 1 > UINT32_MAX) return;  // never a real table
    const size_t base = text_.size();
    text_.append(text).push_back('\n');
    const size_t before = entries_.size();
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t eol = text.find('\n', pos);
        std::string_view line = text.substr(pos, eol == std::string_view::npos ? std::string_view::npos : eol - pos);
        const size_t at = pos;
        pos = eol == std::string_view::npos ? text.size() : eol + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos || tab == 0) continue;
        if (utf8CodePoints(line.substr(0, tab)).size() != 1) continue;
        const std::string_view rest = line.substr(tab + 1);
        if (rest.find_first_not_of(' ') == std::string_view::npos) continue;  // no reading
        entries_.push_back({static_cast<std::uint32_t>(base + at), static_cast<std::uint32_t>(rest.size()),
                            static_cast<std::uint8_t>(tab)});
    }
    // The first line of a character wins: earlier tables and lines come
    // first in a stable order.
    std::stable_sort(entries_.begin(), entries_.end(),
                     [this](const Entry& a, const Entry& b) { return character(a) < character(b); });
    entries_.erase(std::unique(entries_.begin(), entries_.end(),
                               [this](const Entry& a, const Entry& b) { return character(a) == character(b); }),
                   entries_.end());
    if (entries_.size() == before) text_.resize(base);  // nothing of it is used
    entries_.shrink_to_fit();
    text_.shrink_to_fit();
}

const PinyinTable::Entry* PinyinTable::find(std::string_view ch) const {
    const auto it = std::lower_bound(entries_.begin(), entries_.end(), ch,
                                     [this](const Entry& e, std::string_view c) { return character(e) < c; });
    return it == entries_.end() || character(*it) != ch ? nullptr : &*it;
}

std::vector<std::string> PinyinTable::readings(std::string_view utf8) const {
    auto all = [this](const Entry& e) {
        std::vector<std::string> out;
        std::string_view rest = std::string_view(text_).substr(e.at + e.charSize + 1, e.readingsSize);
        while (!rest.empty()) {
            const size_t sp = rest.find(' ');
            if (const auto r = rest.substr(0, sp); !r.empty()) out.emplace_back(r);
            rest.remove_prefix(sp == std::string_view::npos ? rest.size() : sp + 1);
        }
        return out;
    };
    const auto chars = utf8CodePoints(utf8);
    if (chars.size() == 1) {
        const Entry* e = find(chars[0]);
        return e ? all(*e) : std::vector<std::string>{};
    }
    std::string joined;
    for (const auto c : chars) {
        const Entry* e = find(c);
        if (!e) continue;
        if (!joined.empty()) joined += ' ';
        joined += all(*e).front();
    }
    if (joined.empty()) return {};
    return {joined};
}

}  // namespace lumiko

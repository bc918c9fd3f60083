#include "engine/gbktext.h"

#include <algorithm>
#include <functional>

namespace lumiko {

int findText(std::string_view hay, std::string_view needle, int from) {
    if (needle.empty()) return -1;
    if (from < 1) from = 1;
    const auto start = static_cast<size_t>(from - 1);
    if (start >= hay.size()) return -1;
    if (needle.size() < 3) {
        const size_t pos = hay.find(needle, start);
        return pos == std::string_view::npos ? -1 : static_cast<int>(pos) + 1;
    }
    // Table searches look for "\r\n" + code, whose first byte starts every
    // line: a skipping search keeps them fast on the large tables.
    const auto from_it = hay.begin() + static_cast<std::ptrdiff_t>(start);
    const auto it = std::search(from_it, hay.end(),
                                std::boyer_moore_horspool_searcher(needle.begin(), needle.end()));
    return it == hay.end() ? -1 : static_cast<int>(it - hay.begin()) + 1;
}

Text midText(std::string_view text, int start, int len) {
    if (len <= 0) return {};
    if (start < 1) {
        len += start - 1;
        start = 1;
        if (len <= 0) return {};
    }
    const auto s = static_cast<size_t>(start - 1);
    if (s >= text.size()) return {};
    return Text(text.substr(s, static_cast<size_t>(len)));
}

Text leftText(std::string_view text, int len) {
    if (len <= 0) return {};
    return Text(text.substr(0, std::min(text.size(), static_cast<size_t>(len))));
}

Text rightText(std::string_view text, int len) {
    if (len <= 0) return {};
    const size_t n = std::min(text.size(), static_cast<size_t>(len));
    return Text(text.substr(text.size() - n));
}

Text removeSpaces(std::string_view text) {
    Text out;
    out.reserve(text.size());
    for (char c : text)
        if (c != ' ') out.push_back(c);
    return out;
}

bool isWholeGbk(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) continue;
        if (b == 0x80 || b == 0xFF || i + 1 >= text.size()) return false;
        const auto t = static_cast<unsigned char>(text[i + 1]);
        if (t < 0x40 || t == 0x7F || t == 0xFF) return false;
        ++i;
    }
    return true;
}

}  // namespace lumiko

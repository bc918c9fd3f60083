#include "engine/wordhints.h"

#include <algorithm>

namespace lumiko {

void WordHintIndex::use(const SharedText& shared) {
    if (table_.str().data() == shared.str().data()) return;
    table_ = shared;
    lines_.clear();
    const std::string_view table = table_;
    size_t start = 0;
    while (start <= table.size() && start <= UINT32_MAX) {
        size_t end = table.find("\r\n", start);
        if (end == std::string_view::npos) end = table.size();
        const std::string_view line = table.substr(start, end - start);
        const size_t at = start;
        start = end + 2;
        // key, one space, then exactly two bytes that are no line break (any
        // other byte, a blank too, matches; the word drops the blanks)
        if (line.size() < 4) continue;
        const size_t space = line.size() - 3;
        if (line[space] != ' ') continue;
        const std::string_view key = line.substr(0, space), next = line.substr(space + 1);
        bool plain = key.find(' ') == std::string_view::npos && isWholeGbk(line);
        for (char c : next) plain = plain && c != '\r' && c != '\n';
        if (plain) lines_.push_back({static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(space)});
    }
    std::stable_sort(lines_.begin(), lines_.end(), [this](const Line& a, const Line& b) { return keyOf(a) < keyOf(b); });
    // The first eight of each key stay.
    size_t kept = 0;
    for (size_t i = 0; i < lines_.size(); ++i)
        if (i < kMaxWords || keyOf(lines_[i]) != keyOf(lines_[i - kMaxWords])) lines_[kept++] = lines_[i];
    lines_.resize(kept);
    lines_.shrink_to_fit();
}

std::vector<Text> WordHintIndex::find(std::string_view key) const {
    std::vector<Text> words;
    const std::string_view table = table_;
    auto it = std::lower_bound(lines_.begin(), lines_.end(), key,
                               [this](const Line& l, std::string_view k) { return keyOf(l) < k; });
    for (; it != lines_.end() && keyOf(*it) == key; ++it)
        words.push_back(Text(key) + removeSpaces(table.substr(it->at + it->keySize + 1, 2)));
    return words;
}

}  // namespace lumiko

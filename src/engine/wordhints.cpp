#include "engine/wordhints.h"

namespace lumiko {

void WordHintIndex::use(std::string_view table) {
    if (table.data() == data_ && table.size() == size_) return;
    data_ = table.data();
    size_ = table.size();
    words_.clear();
    size_t start = 0;
    while (start <= table.size()) {
        size_t end = table.find("\r\n", start);
        if (end == std::string_view::npos) end = table.size();
        const std::string_view line = table.substr(start, end - start);
        start = end + 2;
        // key, one space, then exactly two bytes that are no line break (any
        // other byte, a blank too, matches; the word drops the blanks)
        if (line.size() < 4) continue;
        const size_t space = line.size() - 3;
        if (line[space] != ' ') continue;
        const std::string_view key = line.substr(0, space), next = line.substr(space + 1);
        bool plain = key.find(' ') == std::string_view::npos && isWholeGbk(line);
        for (char c : next) plain = plain && c != '\r' && c != '\n';
        if (!plain) continue;
        auto& list = words_[Text(key)];
        if (list.size() < kMaxWords) list.push_back(Text(key) + removeSpaces(next));
    }
}

const std::vector<Text>* WordHintIndex::find(const Text& key) const {
    const auto it = words_.find(key);
    return it == words_.end() ? nullptr : &it->second;
}

}  // namespace lumiko

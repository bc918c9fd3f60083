// The two-character words of the association table, by their first
// character: the lines that are exactly a key, one space and two more bytes
// (one character, or two single bytes that may be blanks), at most eight a
// key, in table order, each word without its blanks; lines not made of
// whole GBK characters are left out. Built once per table, so
// that the word hints of a candidate cost a look-up instead of a pass over
// the whole table on every search.
#pragma once

#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/gbktext.h"

namespace lumiko {

class WordHintIndex {
public:
    static constexpr size_t kMaxWords = 8;

    // Rebuilds the index when `table` is not the text it was built from.
    void use(std::string_view table);
    // The words (key + following character) for `key`, or null.
    const std::vector<Text>* find(const Text& key) const;

private:
    const char* data_ = nullptr;
    size_t size_ = 0;
    std::unordered_map<Text, std::vector<Text>> words_;
};

}  // namespace lumiko

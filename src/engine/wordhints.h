// The two-character words of the association table, by their first
// character: the lines that are exactly a key, one space and two more bytes
// (one character, or two single bytes that may be blanks), at most eight a
// key, in table order, each word without its blanks; lines not made of
// whole GBK characters are left out. Built once per table, so
// that the word hints of a candidate cost a look-up instead of a pass over
// the whole table on every search.
#pragma once

#include <string_view>
#include <cstdint>
#include <vector>

#include "engine/gbktext.h"
#include "engine/sharedtext.h"

namespace lumiko {

class WordHintIndex {
public:
    static constexpr size_t kMaxWords = 8;

    // Rebuilds the index when `table` is not the text it was built from
    // (the index holds on to the text it reads its words from).
    void use(const SharedText& table);
    // The words (key + following character) for `key`; empty when none.
    std::vector<Text> find(std::string_view key) const;

private:
    // Each word's line: where it starts in the table and the size of its
    // key, sorted by key (the table's order within a key): eight bytes a
    // word rather than a map of strings.
    struct Line {
        std::uint32_t at;
        std::uint32_t keySize;
    };
    std::string_view keyOf(const Line& l) const { return std::string_view(table_).substr(l.at, l.keySize); }
    SharedText table_;
    std::vector<Line> lines_;
};

}  // namespace lumiko

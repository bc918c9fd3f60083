// The two-character words of the association table offered for a
// character: the lines that are exactly that key, one space and two more
// bytes (one character, or two single bytes that may be blanks), at most
// eight, in table order, each word without its blanks; lines not made of
// whole GBK characters are left out. Read through the table's line index
// when asked, so that no copy of the words is kept.
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "engine/gbktext.h"
#include "engine/sharedtext.h"

namespace lumiko {

inline constexpr size_t kMaxWordHints = 8;

// The words (key + following character) for `key`, in `words` (emptied
// first); none when the key has none. Read through the table's line index,
// made here when missing, unless `searchUnindexed`: a table without its
// index is then searched instead.
void wordHintsOf(const SharedText& table, std::string_view key, std::vector<Text>& words,
                 bool searchUnindexed = false);
inline std::vector<Text> wordHintsOf(const SharedText& table, std::string_view key, bool searchUnindexed = false) {
    std::vector<Text> words;
    wordHintsOf(table, key, words, searchUnindexed);
    return words;
}

// wordHintsOf, keeping the last few answers: a click asks again for the
// characters the clicks before it showed. The first question about a table
// (the panel's first hints, at start-up, before the first tick makes the
// indexes) searches it rather than making its index on the spot; later ones
// use the index.
class WordHints {
public:
    const std::vector<Text>& of(const SharedText& table, std::string_view key);

private:
    struct Answer {
        Text key;
        std::vector<Text> words;
    };
    static constexpr size_t kKept = 4;
    const char* data_ = nullptr;  // the table the answers are from
    size_t size_ = 0;
    std::array<Answer, kKept> answers_;
    size_t used_ = 0, next_ = 0;
};

}  // namespace lumiko

// Pinyin readings of Chinese characters, from a UTF-8 table with one line per
// character: the character, a TAB, and its readings (with tone marks)
// separated by single spaces, most common first.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/gbktext.h"
#include "platform/pinyintable.h"

namespace lumiko::posix {

// The shared table, asked and answered in GBK.
class PinyinTable {
public:
    // Adds the lines of a table; malformed lines are skipped and the first
    // line of a character wins.
    void parse(std::string_view utf8Table) { table_.parse(utf8Table); }

    // A single character: all its readings, most common first. A longer text:
    // one entry, the most common reading of each character that has one,
    // joined by single spaces (characters without a reading, such as ASCII,
    // are left out). Empty when no character of the text has a reading.
    // Texts are GBK.
    std::vector<Text> readings(const Text& gbk) const;

    size_t size() const { return table_.size(); }

private:
    lumiko::PinyinTable table_;  // UTF-8
};

// Readings from the shipped table, loaded on first use from the first file
// that exists of: $LUMIKO_PINYIN, pinyin.txt beside the executable,
// pinyin.txt in the current directory.
std::vector<Text> pinyinReadings(const Text& gbk);

}  // namespace lumiko::posix

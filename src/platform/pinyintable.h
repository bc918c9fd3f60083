// Pinyin readings of Chinese characters from the table shipped beside the
// program (data/pinyin.txt): UTF-8, one line per character, the character, a
// TAB, and its readings (with tone marks) separated by single spaces, most
// common first. The table works on UTF-8; each front-end converts the core's
// GBK texts with its own system's converter.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lumiko {

class PinyinTable {
public:
    // Adds the lines of a table; malformed lines are skipped and the first
    // line of a character wins. A leading byte-order mark is ignored.
    void parse(std::string_view utf8Table);

    // A single character: all its readings, most common first. A longer text:
    // one entry, the most common reading of each character that has one,
    // joined by single spaces (characters without a reading, such as ASCII,
    // are left out). Empty when no character of the text has a reading.
    std::vector<std::string> readings(std::string_view utf8) const;

    size_t size() const { return table_.size(); }

private:
    std::unordered_map<std::string, std::vector<std::string>> table_;
};

// Splits UTF-8 text into its code points; a broken sequence yields its bytes
// one by one.
std::vector<std::string_view> utf8CodePoints(std::string_view s);

}  // namespace lumiko

// Pinyin readings of Chinese characters from the table shipped beside the
// program (data/pinyin.txt): UTF-8, one line per character, the character, a
// TAB, and its readings (with tone marks) separated by single spaces, most
// common first. The table works on UTF-8; each front-end converts the core's
// GBK texts with its own system's converter.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
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

    size_t size() const { return entries_.size(); }

private:
    // The tables' text, and for each character the place of its line in it,
    // sorted by character: a tenth of the memory of a map of strings.
    struct Entry {
        std::uint32_t at;            // the character's first byte in text_
        std::uint32_t readingsSize;  // the bytes after the TAB
        std::uint8_t charSize;
    };
    std::string_view character(const Entry& e) const { return std::string_view(text_).substr(e.at, e.charSize); }
    const Entry* find(std::string_view ch) const;
    std::string text_;
    std::vector<Entry> entries_;
};

// Splits UTF-8 text into its code points; a broken sequence yields its bytes
// one by one.
std::vector<std::string_view> utf8CodePoints(std::string_view s);

}  // namespace lumiko

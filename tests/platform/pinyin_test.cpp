// Pinyin readings from a small table.
#include <gtest/gtest.h>

#include "platform/posix/pinyin.h"

namespace lumiko::posix {
namespace {

std::string utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

PinyinTable sample() {
    PinyinTable t;
    t.parse(utf8(u8"\uFEFF中\tzhōng zhòng\r\n"
                 u8"国\tguó\n"
                 u8"\n"
                 u8"no tab here\n"
                 u8"行\t\n"                 // no readings
                 u8"中文\twrong\n"          // not one character
                 u8"中\tlater\n"            // the first line of a character wins
                 u8"\tnothing\n"
                 u8"𠂇\tzuǒ"));             // outside the BMP, last line without break
    return t;
}

TEST(Pinyin, ReadsOnlyWellFormedLines) { EXPECT_EQ(sample().size(), 3u); }

TEST(Pinyin, ReadingsBySubject) {
    const PinyinTable t = sample();
    struct Case {
        Text subject;
        std::vector<Text> readings;
    };
    const Case cases[] = {
        {"中", {"zhōng", "zhòng"}},
        {"国", {"guó"}},
        {"\xFE\x51", {"zuǒ"}},
        {"中国", {"zhōng guó"}},      // a word: the first reading of each character
        {"国a中", {"guó zhōng"}},     // characters without a reading are left out
        {"行", {}},
        {"a", {}},
        {"abc", {}},
        {"", {}},
        {"\x80", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(t.readings(c.subject), c.readings) << c.subject;
}

}  // namespace
}  // namespace lumiko::posix

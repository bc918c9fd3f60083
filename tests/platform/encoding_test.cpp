// GBK <-> UTF-8 conversion: the FE-block components, and stray bytes.
#include <gtest/gtest.h>

#include "platform/posix/encoding.h"

namespace lumiko::posix {
namespace {

const std::string kBad = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

TEST(Encoding, DecodesGbkIncludingFourByteAndFeBlockCharacters) {
    struct Case {
        std::string gbk, utf8;
    };
    const Case cases[] = {
        {"", ""},
        {"abc 1\r\n", "abc 1\r\n"},
        {"\xD6\xD0\xB9\xFA", "\xE4\xB8\xAD\xE5\x9B\xBD"},  // 中国
        {"\xFE\x51", "\xF0\xA0\x82\x87"},      // component U+20087
        {"\xA1\xA1", "\xE3\x80\x80"},          // full-width space
        {"\x81\x30\x81\x30", "\xC2\x80"},      // a four-byte GB18030 character
    };
    for (const auto& c : cases) EXPECT_EQ(gbkToUtf8(c.gbk), c.utf8) << c.gbk;
}

TEST(Encoding, ReplacesEachStrayByteAndGoesOn) {
    struct Case {
        std::string gbk, utf8;
    };
    const Case cases[] = {
        {"\x80", kBad},
        {"\xFF", kBad},
        {"a\x80" "b", "a" + kBad + "b"},
        {"\xD6", kBad},                               // lead byte cut off at the end
        {"\xD6 x", kBad + " x"},                      // lead byte followed by ASCII
        {"\xFF\xD6\xD0", kBad + "\xE4\xB8\xAD"},      // bad byte, then 中
        {"\xD6\xD0\x80\x80\xB9\xFA", "\xE4\xB8\xAD" + kBad + kBad + "\xE5\x9B\xBD"},
    };
    for (const auto& c : cases) EXPECT_EQ(gbkToUtf8(c.gbk), c.utf8);
}

TEST(Encoding, EncodesUtf8AndReplacesBrokenSequences) {
    EXPECT_EQ(utf8ToGbk("\xF0\xA0\x82\x87"), "\xFE\x51");
    EXPECT_EQ(utf8ToGbk("\xE4\xB8\xAD\xE5\x9B\xBD"), "\xD6\xD0\xB9\xFA");
    EXPECT_EQ(utf8ToGbk("a\xFF" "b"), "a?b");
    EXPECT_EQ(utf8ToGbk("\xE4\xB8"), "??");
}

TEST(Encoding, RoundTripsTheWholeTwoByteRange) {
    // Every valid two-byte GBK character survives the trip through UTF-8.
    int checked = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            const std::string gbk{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string utf8 = gbkToUtf8(gbk);
            if (utf8.find(kBad) != std::string::npos) continue;
            ASSERT_EQ(utf8ToGbk(utf8), gbk) << std::hex << lead << ' ' << trail;
            ++checked;
        }
    EXPECT_GT(checked, 21000);
}

TEST(Encoding, ValidPrefixStopsAtTheFirstStrayByte) {
    EXPECT_EQ(gbkValidPrefix("\xD6\xD0" "a\x80\xD6\xD0"), 3u);
    EXPECT_EQ(gbkValidPrefix("\xD6"), 0u);
    EXPECT_EQ(gbkValidPrefix("abc"), 3u);
}

}  // namespace
}  // namespace lumiko::posix

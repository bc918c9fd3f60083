#include "platform/qt/charcompose.h"

#include <gtest/gtest.h>

#include <string>

namespace lumiko::desktop {
namespace {

std::u32string feedAll(CharComposer& c, std::uint64_t window, const std::string& bytes) {
    std::u32string out;
    for (char b : bytes)
        for (char32_t cp : c.feed(window, static_cast<unsigned char>(b))) out.push_back(cp);
    return out;
}

TEST(CharComposer, PutsEachTwoByteCharacterTogetherFromItsBytes) {
    CharComposer c;
    EXPECT_TRUE(c.feed(7, 0xB9).empty());  // 国, lead byte first
    EXPECT_TRUE(c.pending());
    EXPECT_EQ(c.feed(7, 0xFA), std::vector<char32_t>{U'国'});
    EXPECT_FALSE(c.pending());
}

TEST(CharComposer, MapsTheFeBlockComponentsToTheirUnicodeCharacters) {
    CharComposer c;
    EXPECT_EQ(feedAll(c, 1, "\xFE\x51\xFE\x52\xFE\x53"), U"\U00020087\U00020089\U000200CC");
    EXPECT_EQ(feedAll(c, 1, "\xFE\x59\xFE\xA0"), U"\u9FB4\u9FBB");  // 龴 …
}

TEST(CharComposer, MixesAsciiAndChineseInOrder) {
    CharComposer c;
    EXPECT_EQ(feedAll(c, 1, "a\xD6\xD0,\xB9\xFA."), U"a中,国.");
}

TEST(CharComposer, AStrayLeadByteDoesNotSwallowTheNextCharacter) {
    CharComposer c;
    // A lead byte followed by a byte that cannot end it: the lead is
    // dropped, the comma is typed.
    EXPECT_EQ(feedAll(c, 1, "\xB9,"), U",");
    EXPECT_EQ(feedAll(c, 1, "\xB9 "), U" ");
    EXPECT_EQ(feedAll(c, 1, "\xB9\x30" "a"), U"a");  // a four-byte beginning cut short
    EXPECT_EQ(feedAll(c, 1, "\xB9\xFA"), U"国");
}

TEST(CharComposer, ADifferentWindowDropsAnUnfinishedCharacter) {
    CharComposer c;
    EXPECT_TRUE(c.feed(1, 0xB9).empty());
    // 0x40 would end the character for window 1; for window 2 it is "@".
    EXPECT_EQ(c.feed(2, 0x40), std::vector<char32_t>{U'@'});
    EXPECT_EQ(feedAll(c, 2, "\xB9\xFA"), U"国");
}

TEST(CharComposer, ComposesFourByteSequences) {
    CharComposer c;
    EXPECT_EQ(feedAll(c, 1, "\x81\x30\x81\x30"), U"\u0080");
    EXPECT_EQ(feedAll(c, 1, "\x95\x32\x82\x36"), U"\U00020000");
}

TEST(CharComposer, BytesThatBeginNoCharacterAreSkipped) {
    CharComposer c;
    EXPECT_EQ(feedAll(c, 1, "\x80\xFF" "b"), U"b");
}

TEST(FirstCodePoint, RejectsCutSequences) {
    EXPECT_EQ(firstCodePoint("\xE5\x9B\xBD"), U'国');
    EXPECT_EQ(firstCodePoint("\xE5\x9B"), 0U);
    EXPECT_EQ(firstCodePoint(""), 0U);
}

}  // namespace
}  // namespace lumiko::desktop

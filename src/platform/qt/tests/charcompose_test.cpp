#include "platform/qt/charcompose.h"

#include <gtest/gtest.h>

#include <string>

namespace lumiko::desktop {
namespace {

TEST(ComposeCharacters, WholeCharactersFromTheCommittedBytes) {
    struct Case {
        const char* gbk;
        std::u32string expected;
    } cases[] = {
        {"\xB9\xFA", U"国"},
        {"a\xD6\xD0,\xB9\xFA.", U"a中,国."},
        // The FE-block components map to their Unicode characters.
        {"\xFE\x51\xFE\x52\xFE\x53", U"\U00020087\U00020089\U000200CC"},
        {"\xFE\x59\xFE\xA0", U"\u9FB4\u9FBB"},  // 龴 …
        // Four-byte sequences.
        {"\x81\x30\x81\x30", U"\u0080"},
        {"\x95\x32\x82\x36", U"\U00020000"},
        // A stray lead byte does not swallow the character after it.
        {"\xB9,", U","},
        {"\xB9 ", U" "},
        {"\xB9\x30" "a", U"a"},  // a four-byte beginning cut short
        {"\xB9", U""},           // the text ends inside a character
        // Bytes that begin no character are skipped.
        {"\x80\xFF" "b", U"b"},
    };
    for (const auto& c : cases) EXPECT_EQ(composeCharacters(c.gbk), c.expected) << c.gbk;
}

TEST(FirstCodePoint, RejectsCutSequences) {
    EXPECT_EQ(firstCodePoint("\xE5\x9B\xBD"), U'国');
    EXPECT_EQ(firstCodePoint("\xE5\x9B"), 0U);
    EXPECT_EQ(firstCodePoint(""), 0U);
}

}  // namespace
}  // namespace lumiko::desktop

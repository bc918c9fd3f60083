#include "engine/gbktext.h"

#include <gtest/gtest.h>

namespace lumiko {
namespace {

TEST(GbkText, SearchAndCutCountBytesFromOne) {
    EXPECT_EQ(findText("ab ab", "ab"), 1);
    EXPECT_EQ(findText("ab ab", "ab", 2), 4);
    EXPECT_EQ(findText("ab ab", "ab", 5), -1);
    EXPECT_EQ(findText("ab", ""), -1);
    EXPECT_EQ(findText("ab", "b", -3), 2);
    EXPECT_EQ(midText("一二三", 3, 2), "二");
    EXPECT_EQ(midText("abc", 0, 2), "a");
    EXPECT_EQ(midText("abc", -1, 1), "");
    EXPECT_EQ(midText("abc", 3, 9), "c");
    EXPECT_EQ(midText("abc", 4, 1), "");
    EXPECT_EQ(leftText("abc", -2), "");
    EXPECT_EQ(rightText("一二", 2), "二");
    EXPECT_EQ(rightText("a", 5), "a");
    EXPECT_EQ(removeSpaces(" 下午 2:7:9 "), "下午2:7:9");
    EXPECT_EQ(removeSpaces("　"), "　");  // the full-width space stays
}

TEST(GbkText, WholeCharacters) {
    EXPECT_TRUE(isWholeGbk("a一\xfe\x51"));
    EXPECT_FALSE(isWholeGbk("\xd2"));
    EXPECT_FALSE(isWholeGbk("\x80\x41"));
    EXPECT_FALSE(isWholeGbk("\xd2\x0a"));
}

}  // namespace
}  // namespace lumiko

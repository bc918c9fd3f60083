// What the desktop front-ends share about drawing and hitting controls.
#include <gtest/gtest.h>

#include "platform/look.h"
#include "platform/pinyintable.h"

namespace lumiko::look {
namespace {

Control make(ControlKind kind, Text caption, int w = 100, int h = 100) {
    return Control("c", kind, nullptr, 0, 0, w, h, true, std::move(caption));
}

// A label breaks at "\r" and at "\n": the grid's rows stand two lines apart,
// where the pointer bands of the grid expect them.
TEST(CaptionLines, LabelsBreakAtEachOfCrAndLf) {
    const auto lines = captionLines(make(ControlKind::Label, "a b \r\nc d "));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "a b ");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "c d ");
}

TEST(CaptionLines, EditBoxesBreakOnceAtCrLf) {
    const auto lines = captionLines(make(ControlKind::EditBox, "one\r\ntwo\nthree"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "one");
    EXPECT_EQ(lines[1], "two");
    EXPECT_EQ(lines[2], "three");
}

TEST(GridCellAt, CellsAreTwentyFivePixelsAndStopAtTheGridsEdge) {
    const Control grid = make(ControlKind::Grid, "", 303, 254);
    int row = -1, col = -1;
    ASSERT_TRUE(gridCellAt(grid, 24, 0, row, col));
    EXPECT_EQ(row, 0);
    EXPECT_EQ(col, 0);
    ASSERT_TRUE(gridCellAt(grid, 25, 249, row, col));
    EXPECT_EQ(row, 9);
    EXPECT_EQ(col, 1);
    EXPECT_TRUE(gridCellAt(grid, 299, 10, row, col));
    EXPECT_EQ(col, 11);
    // The strip right of the twelfth column and below the tenth row is no cell.
    EXPECT_FALSE(gridCellAt(grid, 300, 10, row, col));
    EXPECT_FALSE(gridCellAt(grid, 10, 250, row, col));
    EXPECT_FALSE(gridCellAt(grid, -1, 10, row, col));
}

TEST(ListLineAt, OnlyLinesThatHoldAnItem) {
    Control list = make(ControlKind::ListBox, "", 280, 248);
    list.items = {"a", "b", "c"};
    EXPECT_EQ(listLineAt(list, 0, 16), 0);
    EXPECT_EQ(listLineAt(list, 47, 16), 2);
    EXPECT_EQ(listLineAt(list, 48, 16), -1);
    EXPECT_EQ(listLineAt(list, 20, 16, 2), -1);
    EXPECT_EQ(listLineAt(list, -3, 16), -1);
}

TEST(PinyinTable, FirstLineOfACharacterWinsAndWordsJoinTheirFirstReadings) {
    PinyinTable t;
    t.parse("\xEF\xBB\xBF\xe4\xb8\xad\tzh\xc5\x8dng zh\xc3\xb2ng\r\n"  // 中, with a byte-order mark
            "\xe4\xb8\xad\tx\n"                                      // a second line for 中
            "bad line\n"
            "\xe5\x9b\xbd\tgu\xc3\xb3\n");                            // 国
    EXPECT_EQ(t.size(), 2u);
    const auto one = t.readings("\xe4\xb8\xad");
    ASSERT_EQ(one.size(), 2u);
    EXPECT_EQ(one[1], "zh\xc3\xb2ng");
    const auto word = t.readings("\xe4\xb8\xad" "a\xe5\x9b\xbd");
    ASSERT_EQ(word.size(), 1u);
    EXPECT_EQ(word[0], "zh\xc5\x8dng gu\xc3\xb3");
    EXPECT_TRUE(t.readings("a").empty());
}

}  // namespace
}  // namespace lumiko::look

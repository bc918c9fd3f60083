// Hover and pick geometry of the character grid.
#include "panel_fixture.h"

namespace lumiko::testing {
namespace {

const Text kThirty = "甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午未申酉戌亥金木水火土日月星";

class GridTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        Text table = "\r\n";
        for (size_t i = 0; i < kThirty.size(); i += 2) table += "1 " + kThirty.substr(i, 2) + "\r\n";
        writeTable(u8"四角号码.txt", table);
        start();
        app->enterFourCornerMode();
        key(1);
    }
    Control& mark() { return app->form.定位透明标签; }
    Text item(int n) { return kThirty.substr(static_cast<size_t>(2 * (n - 1)), 2); }
};

TEST_F(GridTest, HoverPlacesTheHighlightOverTheItem) {
    struct Case {
        int x, y;
        bool visible;
        int left, top, width;
    } cases[] = {
        {60, 20, true, 59, 8, 44},     // second item of row 1: E1 + 11
        {10, 90, true, 6, 76, 44},     // first item of row 2
        {150, 150, true, 166, 146, 44},
        {384, 200, true, 373, 214, 48},  // x = E8 still lies in column 8; width E9 - E8 - 32
        {48, 20, false, 0, 0, 0},      // exactly on the edge E1
        {0, 20, false, 0, 0, 0},
        {403, 20, true, 373, 8, 48},
        {404, 20, false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        app->gridHover(c.x, c.y);
        EXPECT_EQ(mark().visible, c.visible) << c.x << "," << c.y;
        if (!c.visible) continue;
        EXPECT_EQ(mark().left, c.left) << c.x << "," << c.y;
        EXPECT_EQ(mark().top, c.top) << c.x << "," << c.y;
        EXPECT_EQ(mark().width, c.width) << c.x << "," << c.y;
        EXPECT_EQ(mark().height, 44);
    }
}

TEST_F(GridTest, HoverBetweenRowsChangesNothing) {
    app->gridHover(60, 20);
    for (int y : {44, 50, 66, 120, 190, 195}) {
        app->gridHover(200, y);
        EXPECT_EQ(mark().left, 59) << y;
        EXPECT_EQ(mark().top, 8) << y;
    }
}

TEST_F(GridTest, ClickCommitsExactlyTheItemUnderTheHighlight) {
    // The cut keeps the spaces around the item: none in the very first
    // cell, a trailing one in the first column of rows 2 to 4, both
    // elsewhere; they reach the information strip's subject, not the target.
    struct Case {
        int x, y;
        int item;
        const char* before;
        const char* after;
    } cases[] = {{10, 20, 1, "", ""},      {60, 20, 2, " ", " "},    {10, 90, 9, "", " "},
                 {10, 150, 17, "", " "},   {10, 200, 25, "", " "},   {250, 200, 30, " ", " "},
                 {380, 150, 24, " ", " "}};
    for (const auto& c : cases) {
        app->enterFourCornerMode();
        key(1);
        svc.chars.clear();
        app->gridHover(c.x, c.y);
        click(mark());
        EXPECT_EQ(typed(), item(c.item)) << c.x << "," << c.y;
        EXPECT_EQ(app->form.编辑框.text(), c.before + item(c.item) + c.after) << c.item;
    }
}

TEST_F(GridTest, RowFourHasOnlySixColumnsToPick) {
    app->gridHover(340, 200);  // column 7 of row 4
    EXPECT_TRUE(mark().visible);
    EXPECT_EQ(mark().top, 214);
    click(mark());
    EXPECT_EQ(typed(), "");
}

TEST_F(GridTest, CellsPastTheLastItemPickNothing) {
    writeTable(u8"四角号码.txt", "\r\n2 甲\r\n2 乙\r\n2 丙\r\n");
    start();
    app->enterFourCornerMode();
    key(2);
    ASSERT_EQ(app->form.显字标签.text(), "甲 乙 丙  ");
    for (int x : {150, 170, 250, 390}) {
        app->gridHover(x, 20);
        click(mark());
        app->gridHover(x, 100);
        click(mark());
    }
    EXPECT_EQ(typed(), "");
    EXPECT_EQ(app->form.显字标签.text(), "甲 乙 丙  ");
}

}  // namespace
}  // namespace lumiko::testing

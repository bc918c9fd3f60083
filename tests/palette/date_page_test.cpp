// The date page's eleven lines, the queued date line and the palette pick.
#include "panel_fixture.h"

namespace lumiko::testing {
namespace {

class DatePageTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        start();
        app->tick();  // records the focus target
        click(app->form.更多);
    }
    const std::vector<Text>& datePage(int day, int h, int m, int s) {
        svc.setClock(2026, 3, day, h, m, s);
        click(*app->form.paletteButtons[11]);
        return app->form.列表框1.items;
    }
    void choose(int line) {
        app->form.列表框1.selected = line;
        app->form.列表框1.onSelect();
    }
};

TEST_F(DatePageTest, ElevenLinesForAThursdayAfternoon) {
    const auto& lines = datePage(5, 14, 7, 9);
    const Text date = svc.dateText(svc.clock);
    const std::vector<Text> want = {
        "2026-3-5",     "26-3-5",     date,          "2026 3 5",
        "星期四 2026 3 5", "星期四 " + date, "14:7",        "14:7:9",
        "下午 2:7:9",     "下午 02:7:9",  date + svc.timeText(svc.clock),
    };
    EXPECT_EQ(lines, want);
    EXPECT_FALSE(app->form.表格1.visible);
    EXPECT_TRUE(app->form.列表框1.visible);
    EXPECT_EQ(app->form.列表框1.selected, 0);  // marked, not queued
    EXPECT_EQ(app->g.pendingListText, "");

    click(*app->form.paletteButtons[0]);
    EXPECT_TRUE(app->form.表格1.visible);
    EXPECT_FALSE(app->form.列表框1.visible);
}

TEST_F(DatePageTest, HalfDayLines) {
    struct Case {
        int h, m, s;
        const char* line9;
        const char* line10;
    };
    const Case cases[] = {
        {0, 30, 15, "上午 0:30:15", "上午 00:30:15"}, {9, 7, 9, "上午 9:7:9", "上午 09:7:9"},
        {10, 4, 0, "上午 10:4:0", "上午 10:4:0"},     {11, 59, 59, "上午 11:59:59", "上午 11:59:59"},
        {12, 5, 0, "下午 12:5:0", "下午 12:5:0"},     {13, 5, 0, "下午 1:5:0", "下午 01:5:0"},
        {21, 0, 0, "下午 9:0:0", "下午 09:0:0"},      {23, 59, 59, "下午 11:59:59", "下午 11:59:59"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line9);
        const auto& lines = datePage(5, c.h, c.m, c.s);
        ASSERT_EQ(lines.size(), 11u);
        EXPECT_EQ(lines[8], c.line9);
        EXPECT_EQ(lines[9], c.line10);
    }
}

TEST_F(DatePageTest, WeekdayNames) {
    // 1 to 7 March 2026 run from Sunday to Saturday.
    const char* names[] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
    for (int day = 1; day <= 7; ++day) {
        const auto& lines = datePage(day, 8, 0, 0);
        const Text name = names[day - 1];
        EXPECT_EQ(lines[4], name + " 2026 3 " + std::to_string(day));
        EXPECT_EQ(lines[5].substr(0, name.size() + 1), name + " ");
    }
}

TEST_F(DatePageTest, ChosenLineIsTypedWithoutSpacesOnTheNextTick) {
    datePage(5, 14, 7, 9);
    choose(3);
    choose(3);
    EXPECT_EQ(typed(), "");
    app->tick();
    app->tick();
    EXPECT_EQ(typed(), "202635");  // once

    svc.chars.clear();
    choose(3);
    choose(8);  // replaces the first choice
    app->tick();
    EXPECT_EQ(typed(), "下午2:7:9");
}

TEST_F(DatePageTest, CellPick) {
    auto& grid = app->form.表格1;
    click(*app->form.paletteButtons[0]);  // 字母
    grid.currentRow = 0;
    grid.currentCol = 11;
    click(grid);
    EXPECT_EQ(typed(), "]");
    EXPECT_TRUE(svc.keys.empty());

    // Alternative delivery: through the clipboard, nothing typed.
    app->form.findMenuItem("备用输入接口")->checked = true;
    grid.currentRow = 1;
    grid.currentCol = 0;
    click(grid);
    EXPECT_EQ(svc.clipboard, "a");
    EXPECT_EQ(svc.keys, std::vector<Key>{Key::CtrlV});
    EXPECT_EQ(typed(), "]");
}

}  // namespace
}  // namespace lumiko::testing

// Picks and pointer feedback of the word-hint strip in its two layouts.
#include "panel_fixture.h"

namespace lumiko::testing {
namespace {

class StripTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        writeTable(u8"笔画.txt", "\r\n1 一\r\n12 十\r\n");
        writeTable(u8"联想词.txt", "\r\n一 个\r\n");
        start();
    }
    Control& strip() { return app->form.词语提示标签; }
};

TEST_F(StripTest, CharacterLayoutRanges) {
    struct Case {
        int x;
        bool hand;
        const char* picked;  // what lands in the code; slot 17 lies beyond the text
    } cases[] = {{1, true, "一"}, {14, false, ""}, {15, false, ""}, {23, false, ""},
                 {30, true, "丨"}, {391, true, ""}, {406, false, ""}};
    for (const auto& c : cases) {
        app->enterStrokeMode();
        strip().setText("一 丨 丿 ");
        app->stripMouseMove(c.x);
        EXPECT_EQ(strip().pointer, c.hand ? Pointer::Hand : Pointer::Default) << c.x;
        app->stripRelease(c.x);
        EXPECT_EQ(app->form.编辑框2.text(), c.picked) << c.x;  // a component pick starts the code
    }
}

TEST_F(StripTest, BasicStrokeStripSlot17PicksNothing) {
    app->stripRelease(398);
    EXPECT_EQ(app->form.编辑框2.text(), "");
    app->stripMouseMove(398);
    EXPECT_EQ(strip().pointer, Pointer::Hand);
}

TEST_F(StripTest, WordLayoutPicksCommit) {
    app->enterFourCornerMode();
    app->g.singleDigitState = 1;
    strip().setText("一个 一起 一定 一样 ");
    app->stripMouseMove(112);
    EXPECT_EQ(strip().pointer, Pointer::Default);  // the pointer range of slot 3 is narrower
    app->stripRelease(56);
    EXPECT_EQ(typed(), "");
    app->stripRelease(112);
    EXPECT_EQ(typed(), "一样");
}

TEST_F(StripTest, StrokeModeWordsAndEmptySlots) {
    key(1);
    key(2);
    click(app->form.清空);
    app->g.singleDigitState = 1;
    app->g.searchCode = "x";
    strip().setText("一个 一起 一定 ");
    app->stripRelease(160);  // slot 5 lies beyond the three words
    EXPECT_EQ(typed(), "");
    app->stripRelease(40);
    EXPECT_EQ(typed(), "一起");
}

TEST_F(StripTest, StrokeCodeTakesAComponentAsPrefix) {
    key(1);
    ASSERT_EQ(app->g.singleDigitState, 2);
    strip().setText("一 十 艹 ");
    app->stripRelease(50);  // third slot, while a code is typed
    EXPECT_EQ(app->form.编辑框2.text(), "艹");
    EXPECT_EQ(app->form.输入标签.text(), "艹");
    EXPECT_EQ(app->g.singleDigitState, 1);
    EXPECT_EQ(typed(), "");
}

TEST_F(StripTest, UnlistedStatesIgnoreReleasesAndKeepThePointer) {
    app->g.searchCode = "1";
    app->g.singleDigitState = 0;
    strip().setText("一个 ");
    strip().pointer = Pointer::Hand;
    app->stripRelease(10);
    app->stripMouseMove(300);
    EXPECT_EQ(typed(), "");
    EXPECT_EQ(strip().pointer, Pointer::Hand);
}

}  // namespace
}  // namespace lumiko::testing

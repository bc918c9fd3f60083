// The road of one typed character through keys, code box, grid, commit and
// associations, in the three modes.
#include "engine/builtin.h"
#include "panel_fixture.h"

namespace lumiko::testing {
namespace {

class TypingTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        writeTable(u8"笔画.txt", "\r\n1 一\r\n12 十\r\n125 专\r\n2 丨\r\n");
        writeTable(u8"四角号码.txt", "\r\n1010 一\r\n4010 士\r\n40 十\r\n");
        writeTable(u8"附加笔画.txt", "\r\n1 一\r\n6 十\r\n60 古\r\n");
        writeTable(u8"联想词.txt", "\r\n专 业\r\n专 家\r\n业 务\r\n国 家\r\n一 起\r\n");
    }
    Text grid() { return app->form.显字标签.text(); }
    Control& mark() { return app->form.定位透明标签; }
    void pickFirst() {
        app->gridHover(20, 20);
        click(mark());
    }
};

TEST_F(TypingTest, StartsInStrokeModeWithTheComponentList) {
    App& a = start();
    EXPECT_EQ(a.mode(), Mode::Stroke);
    EXPECT_EQ(a.form.词语提示标签.width, 415);
    for (int k = 6; k <= 10; ++k) EXPECT_FALSE(a.form.超级按钮[static_cast<size_t>(k)]->visible);
    EXPECT_TRUE(a.form.超级上.visible);
    EXPECT_EQ(a.g.codeActive, 0);
    EXPECT_EQ(a.g.picksSinceStroke, 2);
    EXPECT_EQ(a.g.singleDigitState, 1);
    EXPECT_EQ(a.form.词语提示标签.text(), builtin::basicStrokeStrip());
    EXPECT_EQ(a.form.显字标签.color, 0xFF0000u);
    EXPECT_EQ(a.form.left, 533);
    EXPECT_EQ(a.form.top, 296);
    EXPECT_FALSE(a.form.WebBrowser1.visible);
    EXPECT_EQ(a.form.WebBrowser1.top, 33);
}

TEST_F(TypingTest, StrokeKeysTypeCommitAndOfferAssociations) {
    App& a = start();
    key(1);
    EXPECT_EQ(a.g.singleDigitState, 2);
    EXPECT_EQ(a.form.词语提示标签.fontSize, 11);
    EXPECT_EQ(grid(), "一 十 专  ");
    EXPECT_EQ(a.g.codeActive, 1);
    key(2);
    key(5);
    EXPECT_EQ(a.form.编辑框2.text(), "125");
    EXPECT_EQ(a.form.输入标签.text(), "一丨乙");
    EXPECT_EQ(grid(), "专  ");

    pickFirst();
    EXPECT_EQ(typed(), "专");
    EXPECT_EQ(a.form.编辑框.text(), "专");
    EXPECT_EQ(a.g.searchCode, "专");
    EXPECT_EQ(grid(), "业 家  ");
    EXPECT_EQ(a.g.commitsInRow, 1);
    EXPECT_EQ(a.g.picksSinceStroke, 1);

    pickFirst();  // the second commit brings the component list back
    EXPECT_EQ(typed(), "专业");
    EXPECT_EQ(a.g.searchCode, "as");
    EXPECT_EQ(grid().substr(0, 8), "土 木 宀");
    EXPECT_EQ(a.g.picksSinceStroke, 2);
    EXPECT_EQ(a.g.singleDigitState, 1);
}

TEST_F(TypingTest, KeysShowTheGlyphsOfTheMode) {
    struct Case {
        void (App::*enter)();
        Mode mode;
        const char* display;  // keys 1, 2, 5, 10
    } cases[] = {
        {&App::enterFourCornerMode, Mode::FourCorner, "一丿扌亠"},
        {&App::enterExtraStrokeMode, Mode::ExtraStroke, "一丨乙○"},
    };
    App& a = start();
    for (const auto& c : cases) {
        (a.*c.enter)();
        EXPECT_EQ(a.mode(), c.mode);
        EXPECT_EQ(a.form.词语提示标签.width, 247);
        for (int k : {1, 2, 5, 10}) key(k);
        EXPECT_EQ(a.form.编辑框2.text(), "1250");
        EXPECT_EQ(a.form.输入标签.text(), c.display);
    }
    a.enterStrokeMode();
    key(1);
    key(2);
    key(5);
    EXPECT_EQ(a.form.输入标签.text(), "一丨乙");
}

TEST_F(TypingTest, EachModeSearchesItsOwnTable) {
    App& a = start();
    a.enterFourCornerMode();
    key(4);
    EXPECT_EQ(grid(), "士 十  ");
    a.enterExtraStrokeMode();
    key(6);
    EXPECT_EQ(grid(), "十 古  ");
    key(10);
    EXPECT_EQ(grid(), "古  ");
    EXPECT_EQ(a.g.singleDigitState, 2);  // the two-digit code kept it
}

TEST_F(TypingTest, FourCornerCommitsBringTheCommonListBackEverySecondTime) {
    App& a = start();
    a.enterFourCornerMode();
    EXPECT_EQ(grid().substr(0, 8), "的 一 是");
    key(4);
    pickFirst();  // 士
    key(1);
    pickFirst();  // 一, the second commit in a row
    EXPECT_EQ(typed(), "士一");
    EXPECT_EQ(grid().substr(0, 8), "的 一 是");
    EXPECT_EQ(a.g.commitsInRow, 0);
}

TEST_F(TypingTest, ClearEmptiesWithoutRestoringTheDefaultList) {
    App& a = start();
    key(1);
    click(a.form.清空);
    EXPECT_EQ(grid(), "");
    EXPECT_EQ(a.form.编辑框2.text(), "");
    EXPECT_FALSE(a.form.超级上.visible);
    EXPECT_EQ(a.g.codeActive, 0);
}

TEST_F(TypingTest, BackspaceInItsThreeCases) {
    App& a = start();
    click(a.form.按钮3);  // no code: to the target application
    ASSERT_EQ(svc.keys.size(), 1u);
    EXPECT_EQ(svc.keys[0], Key::Backspace);

    key(1);
    key(2);
    click(a.form.按钮3);  // a code: the last glyph and digit go
    EXPECT_EQ(a.form.编辑框2.text(), "1");
    EXPECT_EQ(a.form.输入标签.text(), "一");
    EXPECT_EQ(svc.keys.size(), 1u);
    click(a.form.输入标签);  // the display is a backspace key too
    EXPECT_EQ(a.form.编辑框2.text(), "");
    EXPECT_EQ(a.g.codeActive, 0);
    EXPECT_FALSE(a.form.超级下.visible);

    a.enterStrokeMode();
    pickFirst();  // a component pick: the code is the component 土
    EXPECT_EQ(a.form.编辑框2.text(), "土");
    click(a.form.按钮3);  // removes the glyph but only the second byte of the code
    EXPECT_EQ(a.form.输入标签.text(), "");
    EXPECT_EQ(a.form.编辑框2.text(), "\xcd");
    click(a.form.按钮3);
    EXPECT_EQ(a.form.编辑框2.text(), "");
    EXPECT_EQ(a.g.codeActive, 0);
}

TEST_F(TypingTest, CommitVariants) {
    App& a = start();
    a.form.findMenuItem("繁体")->onChoose();
    Text t = "国";
    a.commitText(t);
    EXPECT_EQ(typed(), "國");
    EXPECT_EQ(a.g.searchCode, "國");
    EXPECT_EQ(grid(), "");
    EXPECT_FALSE(a.form.超级上.visible);
    a.form.findMenuItem("繁体")->onChoose();

    svc.chars.clear();
    click(*a.form.按k[1]);
    ASSERT_EQ(svc.chars.size(), 1u);
    EXPECT_EQ(svc.chars[0].byte, 0x2C);
    EXPECT_EQ(svc.chars[0].window, 0u);  // no tick yet: no focus target recorded
    click(*a.form.按k[8]);
    EXPECT_EQ(typed(), ",“");

    a.form.findMenuItem("备用输入接口")->onChoose();
    a.commitText(Text("中国"));
    EXPECT_EQ(svc.clipboard, "中国");
    EXPECT_EQ(svc.keys.back(), Key::CtrlV);
    EXPECT_EQ(typed(), ",“");
    EXPECT_EQ(a.g.searchCode, "国");
    EXPECT_EQ(grid(), "家  ");
}

TEST_F(TypingTest, CommitWhileThePaletteIsOpenKeepsTheGrid) {
    App& a = start();
    key(1);
    a.form.图片框3.visible = true;
    const Text before = grid();
    a.commitText(Text("国"));
    EXPECT_EQ(grid(), before);
    EXPECT_TRUE(a.form.超级上.visible);
    key(2);  // any key closes the palette
    EXPECT_FALSE(a.form.图片框3.visible);
}


// Bytes that are not whole GBK characters never reach the application: such
// lines are not offered, and such a text is not typed.
TEST_F(TypingTest, BytesThatAreNotGbkAreNeitherOfferedNorTyped) {
    writeTable(u8"笔画.txt", std::string("\r\n1 \x80\r\n1 a\x00\xff\r\n1 \xd2\r\n1\xff \xd2\xbb\r\n1 \xb6\xfe\r\n", 32));
    App& a = start();
    key(1);
    EXPECT_EQ(grid(), "二  ");
    for (const Text& bad : {Text("\x80"), Text("a\xd2"), Text("\xff\xfe"), Text("\xd2\x0a")}) {
        a.commitText(Text(bad));
        EXPECT_EQ(typed(), "") << bad;
    }
    a.form.findMenuItem("备用输入接口")->onChoose();
    a.commitText(Text("\x80"));
    EXPECT_EQ(svc.clipboard, "");
    EXPECT_TRUE(svc.keys.empty());
}

}  // namespace
}  // namespace lumiko::testing

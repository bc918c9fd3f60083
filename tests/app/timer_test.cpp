// The timer tick: focus tracking, the two-tick handwriting hand-over, the
// one-time pad opening.
#include "panel_fixture.h"

namespace lumiko::testing {
namespace {

class TimerTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        writeTable(u8"笔画.txt", "1 你");
        start();
    }
    FakeElement& field() { return *svc.document.field; }
};

TEST_F(TimerTest, FocusIsTrackedOnlyWhileThePanelIsShown) {
    app->tick();
    EXPECT_EQ(app->form.底盘标签.text(), "1001");
    svc.focusKnown = false;
    app->tick();
    EXPECT_EQ(app->form.底盘标签.text(), "");
    svc.focusKnown = true;
    svc.focus = 77;
    app->tick();
    EXPECT_EQ(app->form.底盘标签.text(), "77");
    app->form.visible = false;
    svc.focus = 88;
    app->tick();
    EXPECT_EQ(app->form.底盘标签.text(), "77");
}

TEST_F(TimerTest, HandwrittenTextArrivesOneTickAfterItIsRead) {
    app->tick();
    field().setValue("你 好");
    app->tick();
    EXPECT_EQ(field().value(), "");
    EXPECT_EQ(app->g.pendingHandwriting, "你 好");
    EXPECT_EQ(typed(), "");
    app->tick();
    EXPECT_EQ(typed(), "你好");
    EXPECT_EQ(app->form.编辑框.text(), "你 好");
    EXPECT_NE(app->form.编辑框1.text().find("反查: [    你好  ]"), Text::npos);
    EXPECT_EQ(app->g.pendingHandwriting, "");
    app->tick();
    EXPECT_EQ(typed(), "你好");
}

TEST_F(TimerTest, HandwritingReachesTheLastTargetWhateverIsShown) {
    app->tick();
    field().setValue("你");
    app->tick();
    app->form.visible = false;
    svc.focus = 5;
    app->enterFourCornerMode();  // hides the handwriting page
    app->tick();
    ASSERT_EQ(svc.chars.size(), 2u);
    EXPECT_EQ(svc.chars[0].window, 1001u);
}

TEST_F(TimerTest, SpacesOnlyAreCommittedAsNothing) {
    app->tick();
    field().setValue("   ");
    app->tick();
    app->tick();
    EXPECT_EQ(typed(), "");
    EXPECT_EQ(app->form.编辑框.text(), "   ");
    EXPECT_EQ(app->g.pendingHandwriting, "");
}

// A text that is not one line of printable GBK is taken from the field (so
// that it is not read again), logged and typed nowhere; the next text is.
TEST_F(TimerTest, FieldTextWithControlCharactersTypesNothing) {
    for (const Text& text : {Text("echo pwned\n"), Text("a\tb"), Text("\x1b[2J"), Text("x\x7f"), Text("\r")}) {
        svc.logged.clear();
        field().setValue(text);
        app->tick();
        EXPECT_EQ(field().value(), "");
        EXPECT_EQ(app->g.pendingHandwriting, "");
        app->tick();
        app->tick();
        EXPECT_EQ(typed(), "");
        EXPECT_TRUE(svc.keys.empty());
        ASSERT_EQ(svc.logged.size(), 1u);
        EXPECT_EQ(svc.logged[0].rfind("handwriting text refused", 0), 0u) << svc.logged[0];
    }
    field().setValue("你");
    app->tick();
    app->tick();
    EXPECT_EQ(typed(), "你");
}

TEST_F(TimerTest, UnreachableDocumentReadsNothing) {
    svc.documentReachable = false;
    field().setValue("你");
    app->tick();
    app->tick();
    EXPECT_EQ(typed(), "");
    EXPECT_EQ(field().value(), "你");
}

TEST_F(TimerTest, PadOpensAtTheFirstTickWithANetworkOnly) {
    svc.network = 1;
    app->tick();
    EXPECT_EQ(svc.document.padLink->clicks, 1);
    app->tick();
    app->tick();
    EXPECT_EQ(svc.document.padLink->clicks, 1);
    EXPECT_EQ(app->g.padOpenPending, 0);
}

// The browser view may be made only when the page is first shown: the pad
// waits for it (and such ticks ask for no redraw), then opens at once when
// there is a network, or never.
TEST_F(TimerTest, PadWaitsForTheBrowserView) {
    for (const int network : {1, 0}) {
        start();
        svc.document.padLink->clicks = 0;
        svc.browserIsReady = false;
        svc.network = 1;
        app->tick();
        app->tick();
        EXPECT_FALSE(app->tickMayCommit());
        EXPECT_EQ(svc.document.padLink->clicks, 0);
        EXPECT_EQ(app->g.padOpenPending, 1);
        svc.browserIsReady = true;
        svc.network = network;
        EXPECT_TRUE(app->tickMayCommit());
        app->tick();
        svc.network = 1;
        app->tick();
        EXPECT_EQ(svc.document.padLink->clicks, network) << network;
        EXPECT_EQ(app->g.padOpenPending, 0);
    }
}

TEST_F(TimerTest, PadIsNotOpenedLaterWhenTheNetworkComesBack) {
    svc.network = 0;
    app->tick();
    svc.network = 1;
    app->tick();
    EXPECT_EQ(svc.document.padLink->clicks, 0);
    EXPECT_EQ(svc.reloads, 0);
}

}  // namespace
}  // namespace lumiko::testing

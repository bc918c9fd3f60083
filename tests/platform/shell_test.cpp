#include "platform/shell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>

#include "panel_fixture.h"

namespace lumiko {
namespace {

class ShellTest : public testing::PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        start();
        shell = std::make_unique<PanelShell>(*app, ListMetrics{16, 2});
        shell->onSettled = [this] { ++settled; };
    }
    void TearDown() override {
        shell.reset();
        PanelTest::TearDown();
    }

    // A left click at (x, y) of the panel, the screen seeing the panel at
    // its form position.
    void clickAt(int x, int y) {
        shell->press(MouseButton::Left, x, y, app->form.left + x, app->form.top + y);
        shell->release(MouseButton::Left, x, y);
    }
    void clickOn(const Control& c, int x, int y) { clickAt(c.absLeft() + x, c.absTop() + y); }

    std::unique_ptr<PanelShell> shell;
    int settled = 0;
};

TEST_F(ShellTest, OneHandlerAtATimeAndTheWindowsFollowTheOutermost) {
    int inner = 0;
    EXPECT_TRUE(shell->dispatch([&] {
        EXPECT_TRUE(shell->busy());
        EXPECT_FALSE(shell->dispatch([&] { ++inner; }));  // a message box's loop delivers a click
        shell->tick();                                    // and the timer
    }));
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(settled, 1);
    shell->hold([&] { shell->trayClick(TrayClick::Left); });  // inside a popup menu
    EXPECT_EQ(settled, 1);
    app->exited = true;
    EXPECT_FALSE(shell->dispatch([&] { ++inner; }));
    EXPECT_EQ(inner, 0);
}

TEST_F(ShellTest, AClickOnADateLineTypesItTheSelectedLineAgainToo) {
    app->togglePalette();
    app->showDatePage();
    const Control& list = app->form.列表框1;
    ASSERT_TRUE(list.shown());
    ASSERT_GE(list.items.size(), 3u);
    struct Case {
        int y;  // in the list's own pixels: 2 above the first line, 16 per line
        int line;
    } cases[] = {{2, 0}, {17, 0}, {18, 1}, {2 + 2 * 16 + 5, 2}, {18, 1}};
    for (const auto& c : cases) {
        svc.chars.clear();
        clickOn(list, 10, c.y);
        EXPECT_EQ(list.selected, c.line) << c.y;
        shell->tick();
        Text expected = list.items[static_cast<size_t>(c.line)];
        std::erase(expected, ' ');
        EXPECT_EQ(typed(), expected) << c.y;
    }
    // Below the last line nothing is chosen.
    svc.chars.clear();
    clickOn(list, 10, 2 + static_cast<int>(list.items.size()) * 16 + 1);
    shell->tick();
    EXPECT_EQ(typed(), "");
}

TEST_F(ShellTest, APressOnTheGridMakesItsCellCurrentAndTheHoverFollows) {
    app->togglePalette();
    Control& grid = app->form.表格1;
    ASSERT_TRUE(grid.shown());
    struct Case {
        int x, y, row, col;
    } cases[] = {{3, 3, 0, 0}, {26, 3, 0, 1}, {24, 50, 2, 0}, {299, 249, 9, 11}};
    for (const auto& c : cases) {
        shell->press(MouseButton::Left, grid.absLeft() + c.x, grid.absTop() + c.y, 0, 0);
        EXPECT_EQ(grid.currentRow, c.row) << c.x << "," << c.y;
        EXPECT_EQ(grid.currentCol, c.col) << c.x << "," << c.y;
        shell->release(MouseButton::Left, grid.absLeft() + c.x, grid.absTop() + c.y);
        EXPECT_EQ(shell->pointer().hovered, &grid);
        EXPECT_EQ(shell->pointer().gridRow, c.row);
        EXPECT_EQ(shell->pointer().gridCol, c.col);
    }
    shell->leave();
    EXPECT_EQ(shell->pointer().hovered, nullptr);
    EXPECT_EQ(shell->pointer().gridRow, -1);
}

TEST_F(ShellTest, TheBackgroundDragsThePanelOnceThePointerHasMovedAFewPixels) {
    PanelForm& f = app->form;
    const int left = f.left, top = f.top;
    shell->press(MouseButton::Left, 2, 2, 500, 400);
    shell->move(3, 3, 501, 401);  // a shaky click
    EXPECT_FALSE(shell->dragging());
    EXPECT_EQ(f.left, left);
    shell->move(52, 32, 550, 430);
    EXPECT_TRUE(shell->dragging());
    EXPECT_EQ(f.left, left + 50);
    EXPECT_EQ(f.top, top + 30);
    shell->release(MouseButton::Left, 2, 2);
    EXPECT_FALSE(shell->dragging());
    // The next moves are the pointer's again.
    shell->move(52, 32, 550, 430);
    EXPECT_EQ(f.left, left + 50);
}

TEST_F(ShellTest, ADoubleClickOnTheBackgroundHidesThePanelWithoutADrag) {
    clickAt(2, 2);
    shell->doubleClick(2, 2, 100, 100);
    shell->move(2, 2, 200, 200);
    shell->release(MouseButton::Left, 2, 2);
    EXPECT_FALSE(app->form.visible);
    EXPECT_FALSE(shell->dragging());
}

TEST_F(ShellTest, AReleaseWithoutAPressOnThePanelIsNotAClick) {
    int clicks = 0;
    app->form.清空.onClick = [&] { ++clicks; };
    const int x = app->form.清空.absLeft() + 3, y = app->form.清空.absTop() + 3;
    shell->release(MouseButton::Left, x, y);
    EXPECT_EQ(clicks, 0);
    shell->press(MouseButton::Left, x, y, 0, 0);
    shell->cancelPress();  // the capture went elsewhere
    shell->release(MouseButton::Left, x, y);
    EXPECT_EQ(clicks, 0);
    clickAt(x, y);
    EXPECT_EQ(clicks, 1);
}

struct MenuRecorder : MenuVisitor {
    std::vector<std::string> lines;
    std::map<std::string, int> ids;
    void item(const Text& caption, bool checked, int id) override {
        lines.push_back(caption + (checked ? " [x]" : ""));
        ids[caption] = id;
    }
    void separator() override { lines.push_back("-"); }
    void beginSubmenu(const Text& caption) override { lines.push_back(caption + " {"); }
    void endSubmenu() override { lines.push_back("}"); }
};

TEST_F(ShellTest, TheMenuWalkShowsCheckMarksAndItsIdsChooseTheItems) {
    // A front-end that does not zoom the panel: the core's menu as it is.
    MenuRecorder menu;
    shell->walkMenu(menu);
    const std::vector<std::string> expected = {
        "关闭菜单", "-", "繁体", "打开/关闭输入", "-", "帮助/其它 {", "字典设置", "备用输入接口", "-",
        "使用说明", "-", "检查更新", "-", "关于", "-", "记忆常用字", "清除记忆", "}", "退出"};
    EXPECT_EQ(menu.lines, expected);
    shell->chooseMenu(menu.ids["繁体"]);
    shell->chooseMenu(0);    // no such item
    shell->chooseMenu(100);  // nor this
    MenuRecorder again;
    shell->walkMenu(again);
    EXPECT_EQ(again.lines[2], "繁体 [x]");
}

TEST_F(ShellTest, TrayClicksAndTheCloseBoxReachTheCore) {
    shell->closeRequest();
    EXPECT_FALSE(app->form.visible);
    shell->trayClick(TrayClick::Left);
    EXPECT_TRUE(app->form.visible);
    EXPECT_EQ(settled, 2);
    // A second start's request shows a hidden panel and never hides one.
    shell->showRequest();
    EXPECT_TRUE(app->form.visible);
    shell->closeRequest();
    shell->showRequest();
    EXPECT_TRUE(app->form.visible);
}

TEST_F(ShellTest, RepaintOnlyWhenSomethingDrawnChanged) {
    shell->tick();  // the first tick opens the pad: the windows follow
    EXPECT_EQ(settled, 1);
    EXPECT_TRUE(shell->needsRepaint());
    EXPECT_FALSE(shell->needsRepaint());
    shell->tick();  // records the focus in a hidden label
    EXPECT_FALSE(shell->needsRepaint());
    EXPECT_EQ(settled, 1);
    app->form.输入标签.setText("x");
    EXPECT_TRUE(shell->needsRepaint());
    const Control& key = *app->form.超级按钮[1];
    shell->move(key.absLeft() + 2, key.absTop() + 2, 0, 0);  // hover feedback
    EXPECT_TRUE(shell->needsRepaint());
    EXPECT_FALSE(shell->needsRepaint());
}

TEST_F(ShellTest, AtEveryZoomAClickReachesTheSameControlAndCell) {
    // The user's zoom, and the monitor's pixels per inch of a front-end that
    // scales by them itself (Windows: 144 is 150 %).
    const std::pair<int, int> zooms[] = {{100, 96}, {125, 96}, {150, 96}, {200, 96},
                                         {100, 120}, {100, 144}, {200, 144}, {125, 192}};
    app->togglePalette();
    const Control& grid = app->form.表格1;
    for (const auto& [zoom, dpi] : zooms) {
        SCOPED_TRACE(::testing::Message() << zoom << "% at " << dpi << " dpi");
        shell->setZoom(zoom);
        shell->setDpi(dpi);
        // The centre of a cell, in the zoomed window's pixels.
        const int x = shell->scaled(grid.absLeft() + 4 * 25 + 12), y = shell->scaled(grid.absTop() + 7 * 25 + 12);
        shell->press(MouseButton::Left, x, y, 0, 0);
        EXPECT_EQ(grid.currentRow, 7);
        EXPECT_EQ(grid.currentCol, 4);
        shell->release(MouseButton::Left, x, y);
        EXPECT_EQ(shell->pointer().hovered, &grid);
        // The last window pixel of a cell still lies in it.
        const int edge = shell->scaled(grid.absLeft() + 25) - 1;
        shell->press(MouseButton::Left, edge, y, 0, 0);
        EXPECT_EQ(grid.currentCol, 0);
        shell->release(MouseButton::Left, edge, y);
    }
    app->togglePalette();
    const Control& key = *app->form.超级按钮[3];
    for (const auto& [zoom, dpi] : zooms) {
        SCOPED_TRACE(::testing::Message() << zoom << "% at " << dpi << " dpi");
        shell->setZoom(zoom);
        shell->setDpi(dpi);
        app->clearInput();
        const int x = shell->scaled(key.absLeft() + key.width / 2), y = shell->scaled(key.absTop() + key.height / 2);
        EXPECT_EQ(shell->pointerAt(x, y), key.pointer);
        shell->press(MouseButton::Left, x, y, 0, 0);
        shell->release(MouseButton::Left, x, y);
        EXPECT_EQ(app->form.编辑框2.text(), "3");
    }
}

TEST_F(ShellTest, TheZoomedPanelStartsNearTheBottomRightCorner) {
    struct Case {
        int zoom, dpi, screenWidth, screenHeight, left, top, width, height;
    } cases[] = {
        {100, 96, 1024, 768, 1024 - 431 - 60, 768 - 412 - 60, 431, 412},
        {150, 96, 1024, 768, 1024 - 647 - 60, 768 - 618 - 60, 647, 618},
        {200, 96, 2048, 1536, 2048 - 862 - 60, 1536 - 824 - 60, 862, 824},
        // The monitor's scale multiplies the zoom: 150 % at 144 dpi is 225 %.
        {100, 144, 1536, 1152, 1536 - 647 - 60, 1152 - 618 - 60, 647, 618},
        {150, 144, 2560, 1600, 2560 - 970 - 60, 1600 - 927 - 60, 970, 927},
        {200, 192, 3840, 2160, 3840 - 1724 - 60, 2160 - 1648 - 60, 1724, 1648},
    };
    for (const auto& c : cases) {
        shell->setZoom(c.zoom);
        shell->setDpi(c.dpi);
        shell->placeOnScreen(c.screenWidth, c.screenHeight);
        EXPECT_EQ(app->form.left, c.left) << c.zoom;
        EXPECT_EQ(app->form.top, c.top) << c.zoom;
        EXPECT_EQ(shell->scaled(app->form.width), c.width) << c.zoom;
        EXPECT_EQ(shell->scaled(app->form.height), c.height) << c.zoom;
    }
}

TEST_F(ShellTest, AZoomedPanelTooLargeForTheCornerStaysOnTheScreen) {
    struct Case {
        int zoom, areaLeft, areaTop, areaWidth, areaHeight;  // the screen area
        int left, top;                                      // the panel before
        int expectedLeft, expectedTop;
    } cases[] = {
        {100, 0, 0, 1024, 768, 100, 100, 100, 100},         // inside: unmoved
        {200, 0, 0, 1024, 768, 533, 296, 1024 - 862, 0},    // 862 x 824 over a 768 high screen
        {150, 0, 0, 1024, 768, 533, 296, 1024 - 647, 768 - 618},
        {150, 0, 0, 1024, 768, -40, -10, 0, 0},             // off the top-left corner
        {125, 1024, 0, 1280, 1024, 900, 50, 1024, 50},      // on the second monitor
        {125, 1024, 0, 1280, 1024, 2200, 900, 2304 - 539, 1024 - 515},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zoom);
        shell->setZoom(c.zoom);
        app->form.left = c.left;
        app->form.top = c.top;
        shell->keepOnScreen(c.areaLeft, c.areaTop, c.areaWidth, c.areaHeight);
        EXPECT_EQ(app->form.left, c.expectedLeft);
        EXPECT_EQ(app->form.top, c.expectedTop);
    }
    // Start-up at 200 % on a 1024 x 768 screen: as near the corner as fits.
    shell->setZoom(200);
    shell->placeOnScreen(1024, 768);
    EXPECT_EQ(app->form.left, 1024 - 862 - 60);
    EXPECT_EQ(app->form.top, 0);
}

TEST_F(ShellTest, ZoomsAreWholePercentsInTheRangeTheShellKeeps) {
    struct Case {
        const char* text;
        int zoom;
    } cases[] = {
        {"100", 100}, {"150%", 150}, {"125\n", 125}, {"50", 50}, {"400", 400}, {"175", 175},
        {"49", 0},    {"401", 0},    {"", 0},         {"%", 0},   {"1.5", 0},   {"150 %", 0},
        {"-100", 0},  {"abc", 0},    {" 150", 0},     {"99999999999999999999", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(PanelShell::parseZoom(c.text), c.zoom) << c.text;
}

TEST_F(ShellTest, TheZoomSubmenuEndsHelpAndChoosingAZoomAppliesIt) {
    int chosen = 0;
    shell->onZoomChosen = [&] { ++chosen; };
    MenuRecorder menu;
    shell->walkMenu(menu);
    // The zoom follows 关于 and comes before the learning items.
    const std::vector<std::string> zooms{"-", "缩放 {", "100% [x]", "125%", "150%", "200%", "}"};
    const auto help = std::find(menu.lines.begin(), menu.lines.end(), "关于");
    ASSERT_GE(menu.lines.end() - help, 8);
    EXPECT_EQ(std::vector<std::string>(help + 1, help + 1 + 7), zooms);
    // Every other item keeps its place.
    std::vector<std::string> rest = menu.lines;
    rest.erase(rest.begin() + (help + 1 - menu.lines.begin()), rest.begin() + (help + 8 - menu.lines.begin()));
    const std::vector<std::string> core = {
        "关闭菜单", "-", "繁体", "打开/关闭输入", "-", "帮助/其它 {", "字典设置", "备用输入接口", "-",
        "使用说明", "-", "检查更新", "-", "关于", "-", "记忆常用字", "清除记忆", "}", "退出"};
    EXPECT_EQ(rest, core);

    // A zoom: taken, the front-end told, the windows brought in line.
    const int before = settled;
    shell->chooseMenu(menu.ids["150%"]);
    EXPECT_EQ(shell->zoom(), 150);
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(settled, before + 1);
    EXPECT_TRUE(shell->needsRepaint());

    // The next walk checks the new zoom; the core's items keep working.
    MenuRecorder again;
    shell->walkMenu(again);
    EXPECT_EQ(std::count(again.lines.begin(), again.lines.end(), "150% [x]"), 1);
    EXPECT_EQ(std::count(again.lines.begin(), again.lines.end(), "100%"), 1);
    shell->chooseMenu(again.ids["繁体"]);
    EXPECT_TRUE(app->form.findMenuItem("繁体")->checked);
    EXPECT_EQ(shell->zoom(), 150);
    EXPECT_EQ(chosen, 1);
    shell->chooseMenu(0);
    shell->chooseMenu(static_cast<int>(again.lines.size()) + 1);
    EXPECT_EQ(chosen, 1);
}

// The session's list of programs as a test holds it: on or off, and a
// refusal when the test says so.
struct FakeSessionStart : SessionStart {
    bool on = false;
    Text refusal;  // non-empty: the next change fails with it
    int changes = 0;
    bool startsWithSession() override { return on; }
    bool setStartsWithSession(bool want, Text& problem) override {
        ++changes;
        if (!refusal.empty()) {
            problem = refusal;
            return false;
        }
        on = want;
        return true;
    }
};

TEST_F(ShellTest, StartingWithTheSessionFollowsTheZoomsAndShowsWhatIsThere) {
    FakeSessionStart session;
    svc.messages.clear();
    shell->onZoomChosen = [] {};
    shell->sessionStart = &session;
    MenuRecorder menu;
    shell->walkMenu(menu);
    // Off by default, the last item of 帮助/其它: after the zoom and the
    // learning items.
    const auto zoomEnd = std::find(menu.lines.begin(), menu.lines.end(), "200%") + 1;
    const auto learningEnd = std::find(zoomEnd, menu.lines.end(), "清除记忆");
    ASSERT_LT(learningEnd + 2, menu.lines.end());
    EXPECT_EQ(*zoomEnd, "}");
    EXPECT_EQ(*(learningEnd + 1), "登录时启动");
    EXPECT_EQ(*(learningEnd + 2), "}");
    EXPECT_EQ(menu.lines.back(), "退出");

    // Each choice turns it over; the check mark is what the list says, also
    // after a change made elsewhere.
    shell->chooseMenu(menu.ids["登录时启动"]);
    EXPECT_TRUE(session.on);
    MenuRecorder on;
    shell->walkMenu(on);
    EXPECT_EQ(std::count(on.lines.begin(), on.lines.end(), "登录时启动 [x]"), 1);
    session.on = false;  // the user removed it in the desktop's settings
    MenuRecorder off;
    shell->walkMenu(off);
    EXPECT_EQ(std::count(off.lines.begin(), off.lines.end(), "登录时启动"), 1);
    shell->chooseMenu(off.ids["登录时启动"]);
    EXPECT_TRUE(session.on);
    EXPECT_TRUE(svc.messages.empty());

    // A refusal is told in a message box and in the log, for either way.
    struct Case {
        bool before;
        const char* says;
    } cases[] = {{true, "无法取消登录时启动"}, {false, "无法设置登录时启动"}};
    for (const auto& c : cases) {
        svc.messages.clear();
        svc.logged.clear();
        session.on = c.before;
        session.refusal = "/home/u/.config/autostart/lumiko.desktop: Permission denied";
        MenuRecorder walk;
        shell->walkMenu(walk);
        shell->chooseMenu(walk.ids["登录时启动"]);
        EXPECT_EQ(session.on, c.before);
        ASSERT_EQ(svc.messages.size(), 1u) << c.says;
        EXPECT_EQ(svc.messages[0].title, "Lumiko输入法");
        EXPECT_EQ(svc.messages[0].text, std::string(c.says) + "：\n" + session.refusal);
        ASSERT_EQ(svc.logged.size(), 1u);
        EXPECT_EQ(svc.logged[0], svc.messages[0].text);
    }

    // Without a front-end that offers it, the item is not there.
    shell->sessionStart = nullptr;
    MenuRecorder none;
    shell->walkMenu(none);
    EXPECT_EQ(std::count_if(none.lines.begin(), none.lines.end(),
                            [](const std::string& l) { return l.rfind("登录时启动", 0) == 0; }),
              0);
}

// Shown, the timer ticks as usual, unless only the focus is left to record
// and the front-end learns of its changes from events; hidden it ticks only
// while text is queued or a page exists whose field the pad may fill, and
// stops otherwise. The first tick, which makes the indexes, always comes.
TEST_F(ShellTest, TheTimerTicksOnlyWhenATickHasSomethingToDo) {
    using Rate = PanelShell::TickRate;
    struct Case {
        bool visible;
        const char* handwriting;
        const char* listLine;
        bool pageMade;
        bool focusSettled;
        Rate rate;
    } cases[] = {
        {true, "", "", false, false, Rate::Usual},     {true, "", "", true, false, Rate::Usual},
        {true, "", "", false, true, Rate::Stopped},    {true, "", "", true, true, Rate::Usual},
        {true, "字", "", false, true, Rate::Usual},    {true, "", "2026-1-1", false, true, Rate::Usual},
        {false, "", "", false, false, Rate::Stopped},  {false, "", "", true, false, Rate::Slow},
        {false, "", "", false, true, Rate::Stopped},   {false, "", "", true, true, Rate::Slow},
        {false, "字", "", false, false, Rate::Usual},  {false, "", "2026-1-1", false, false, Rate::Usual},
        {false, "字", "", true, false, Rate::Usual},
    };
    EXPECT_EQ(shell->tickRate(false, true), Rate::Usual);  // before the first tick
    shell->tick();
    for (const Case& c : cases) {
        app->form.visible = c.visible;
        app->g.pendingHandwriting = c.handwriting;
        app->g.pendingListText = c.listLine;
        EXPECT_EQ(shell->tickRate(c.pageMade, c.focusSettled), c.rate)
            << c.visible << " '" << c.handwriting << "' '" << c.listLine << "' " << c.pageMade << c.focusSettled;
    }
}

// A page that tells of changes to its field needs no ticks to look at it:
// the timer rests, shown and hidden, and runs from a change until the text
// it brought is typed.
TEST_F(ShellTest, APageThatTellsOfChangesLetsTheTimerRestUntilItDoes) {
    using Rate = PanelShell::TickRate;
    shell->tick();
    for (const bool visible : {true, false}) {
        app->form.visible = visible;
        EXPECT_EQ(shell->tickRate(true, true, true), Rate::Stopped) << visible;
        EXPECT_EQ(shell->tickPeriod(15, true, true, true), 0) << visible;
        EXPECT_EQ(shell->tickRate(true, true, false), visible ? Rate::Usual : Rate::Slow) << visible;
    }
    app->form.visible = true;
    EXPECT_EQ(shell->tickRate(true, false, true), Rate::Usual);  // the focus still asks for ticks

    // The page may go (pageSettled) only once what it told of is typed.
    app->form.visible = false;
    EXPECT_TRUE(shell->pageSettled());
    svc.document.field->setValue("你 好");
    shell->pageChanged();
    EXPECT_FALSE(shell->pageSettled());
    EXPECT_EQ(shell->tickRate(true, true, true), Rate::Usual);
    shell->tick();  // reads the field
    EXPECT_EQ(app->g.pendingHandwriting, "你 好");
    EXPECT_FALSE(shell->pageSettled());
    EXPECT_EQ(shell->tickRate(true, true, true), Rate::Usual);
    shell->tick();  // types it
    EXPECT_EQ(typed(), "你好");
    EXPECT_TRUE(shell->pageSettled());
    EXPECT_EQ(shell->tickRate(true, true, true), Rate::Stopped);

    // A change told while a handler runs waits for a tick that can read it.
    shell->pageChanged();
    shell->dispatch([&] { shell->tick(); });
    EXPECT_EQ(shell->tickRate(true, true, true), Rate::Usual);
    shell->tick();
    EXPECT_EQ(shell->tickRate(true, true, true), Rate::Stopped);
}

// What a front-end has of the core: a shell over its own App, the form to
// draw, and the window system's moves and minimising, which only the form
// follows (no handler runs, the windows are not brought in line).
class FrontEndTest : public testing::PanelTest {};

TEST_F(FrontEndTest, HasTheCoreThroughItsShellOnly) {
    PanelShell own(svc, ListMetrics{16, 2});
    int settled = 0;
    own.onSettled = [&] { ++settled; };
    EXPECT_TRUE(own.dispatch([&] { own.startUp(); }));
    EXPECT_EQ(settled, 1);
    EXPECT_TRUE(own.form().visible);
    EXPECT_EQ(own.settingsForm(), nullptr);

    own.windowMoved(120, 80);
    own.windowMinimized(true);
    EXPECT_EQ(own.form().left, 120);
    EXPECT_EQ(own.form().top, 80);
    EXPECT_TRUE(own.form().minimized);
    own.windowMinimized(false);
    EXPECT_FALSE(own.form().minimized);
    EXPECT_EQ(settled, 1);

    // 字典设置 from the menu gives the front-end the settings window's form.
    struct Chooser : MenuVisitor {
        int id = 0;
        void item(const Text& caption, bool, int i) override {
            if (caption == "字典设置") id = i;
        }
        void separator() override {}
        void beginSubmenu(const Text&) override {}
        void endSubmenu() override {}
    } chooser;
    own.walkMenu(chooser);
    own.chooseMenu(chooser.id);
    ASSERT_NE(own.settingsForm(), nullptr);
    EXPECT_EQ(svc.settingsShown, 1);
    EXPECT_FALSE(own.exited());
}

}  // namespace
}  // namespace lumiko


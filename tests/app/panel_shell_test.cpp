// Showing, hiding and minimising the panel; the tray icon, the menu's check
// marks and the exit.
#include "engine/builtin.h"
#include "panel_fixture.h"
#include "platform/posix/files.h"

namespace lumiko::testing {
namespace {

class PanelShellTest : public PanelTest {};

TEST_F(PanelShellTest, StartUpPlacesThePanelAndInstallsTheTray) {
    svc.screenWidth = 1280;
    svc.screenHeight = 1024;
    App& a = start();
    EXPECT_EQ(a.form.left, 1280 - 431 - 60);
    EXPECT_EQ(a.form.top, 1024 - 412 - 60);
    EXPECT_EQ(a.form.标签1.width, 431);
    EXPECT_EQ(a.form.标签1.height, 412);
    EXPECT_TRUE(svc.trayVisible);
    EXPECT_EQ(svc.trayTip, "Lumiko输入法 1.0 ");
    EXPECT_TRUE(svc.noActivate);
    EXPECT_EQ(a.g.padOpenPending, 1);
    ASSERT_EQ(svc.navigations.size(), 1u);
    EXPECT_EQ(svc.navigations[0], svc.tempFolder() + "s1.html");
}

// The page is written as a new, private file; when that fails, the view
// is sent nowhere and shows why, and the pad is never opened.
TEST_F(PanelShellTest, APageThatCannotBeWrittenIsNotShown) {
    start();
    ASSERT_EQ(svc.navigations.size(), 1u);
    std::string bytes;
    ASSERT_TRUE(svc.readFile(svc.navigations[0], bytes));
    EXPECT_EQ(bytes, builtin::handwritingPage());
    EXPECT_TRUE(svc.unavailable.empty());

    FakeServices failing;
    failing.privateWriteError = "No space left on device";
    failing.network = 1;
    App a(failing);
    a.startUp();
    EXPECT_TRUE(failing.navigations.empty());
    ASSERT_EQ(failing.unavailable.size(), 1u);
    EXPECT_EQ(failing.unavailable[0], "无法写入手写输入页面(No space left on device)");
    ASSERT_FALSE(failing.logged.empty());
    EXPECT_EQ(failing.logged[0], "the handwriting page cannot be written: No space left on device");
    failing.browserIsReady = false;  // a view with no page never gets ready
    a.tick();
    a.tick();
    EXPECT_EQ(failing.document.padLink->clicks, 0);
}

TEST_F(PanelShellTest, SmallScreensPlaceThePanelPartlyOutside) {
    svc.screenWidth = 400;
    svc.screenHeight = 300;
    App& a = start();
    EXPECT_EQ(a.form.left, -91);
    EXPECT_EQ(a.form.top, -172);
}

TEST_F(PanelShellTest, HidingShowingAndMinimising) {
    App& a = start();
    key(1);
    a.trayLeftClick();
    EXPECT_FALSE(a.form.visible);
    EXPECT_EQ(a.form.编辑框2.text(), "1");  // hiding keeps the input
    a.trayLeftClick();
    EXPECT_TRUE(a.form.visible);

    EXPECT_FALSE(a.closeRequest());
    EXPECT_FALSE(a.form.visible);
    a.chooseMenu("打开/关闭输入");
    EXPECT_TRUE(a.form.visible);
    a.chooseMenu("打开/关闭输入");
    EXPECT_FALSE(a.form.visible);
    a.trayLeftClick();

    a.form.标签1.onDoubleClick();
    EXPECT_FALSE(a.form.visible);
    a.trayLeftClick();
    click(a.form.按钮10);
    EXPECT_FALSE(a.form.visible);
    a.trayLeftClick();

    click(a.form.按钮9);
    EXPECT_TRUE(a.form.minimized);
    click(a.form.按钮9);
    EXPECT_FALSE(a.form.minimized);
}

TEST_F(PanelShellTest, MenuAndTrayPopups) {
    App& a = start();
    a.trayRightClick();
    a.form.标签1.onRightUp(5, 5);
    EXPECT_EQ(svc.popups, 2);
    for (const char* item : {"繁体", "备用输入接口"}) {
        a.chooseMenu(item);
        EXPECT_TRUE(a.form.findMenuItem(item)->checked) << item;
        a.chooseMenu(item);
        EXPECT_FALSE(a.form.findMenuItem(item)->checked) << item;
    }
    a.chooseMenu("关闭菜单");
    EXPECT_TRUE(a.form.visible);
}

TEST_F(PanelShellTest, SpaceAndEnterGoToTheFocusedApplication) {
    App& a = start();
    click(a.form.按钮4);
    click(a.form.按钮5);
    ASSERT_EQ(svc.keys.size(), 2u);
    EXPECT_EQ(svc.keys[0], Key::Space);
    EXPECT_EQ(svc.keys[1], Key::Enter);
}

TEST_F(PanelShellTest, ExitRemovesTheTrayIconAndEndsTheProgram) {
    App& a = start();
    a.chooseMenu("退出");
    EXPECT_TRUE(a.exited);
    EXPECT_TRUE(svc.quitCalled);
    EXPECT_FALSE(svc.trayVisible);
}

TEST_F(PanelShellTest, TablesLoadWithALineBreakAppended) {
    writeTable(u8"笔画.txt", "\r\n1 一");
    writeTable(u8"字典.txt", "拼音");
    writeTable(u8"字典/拼音.txt", "yi 一");
    App& a = start();
    EXPECT_EQ(a.g.strokeTable.str(), "\r\n1 一\r\n");
    EXPECT_EQ(a.g.fourCornerTable.str(), "\r\n");  // missing: just the line break
    EXPECT_EQ(a.g.dictionaryName, "拼音");
    EXPECT_EQ(a.g.dictionaryText.str(), "yi 一");
}

TEST_F(PanelShellTest, TheEmptyNameShowsItsEntryInTheStrip) {
    writeTable(u8"字典/.txt", "\r\nzz 一\r\n");
    App& a = start();
    a.openSettings();
    auto& list = a.settings->列表框1;
    ASSERT_EQ(list.items, std::vector<Text>{".txt"});
    svc.exeDir = ".";
    list.selected = 0;
    list.onSelect();
    a.settings->加载.onClick();
    EXPECT_EQ(a.settings->编辑框1.text(), ".txt");
    App& again = start();
    EXPECT_EQ(again.g.dictionaryText.str(), "\r\nzz 一\r\n");
    again.form.编辑框.setText("一");
    EXPECT_NE(again.form.编辑框1.text().find("字典: [  zz   一  ]"), Text::npos);
}

TEST_F(PanelShellTest, UsableTablesAndNoDictionaryTellNothing) {
    for (const char8_t* name : {u8"笔画.txt", u8"附加笔画.txt", u8"四角号码.txt", u8"联想词.txt"})
        writeTable(name, "\r\n1 一");
    start();
    EXPECT_TRUE(svc.messages.empty());
    EXPECT_TRUE(svc.logged.empty());
}

TEST_F(PanelShellTest, TheHiddenLinkStartsAtTheForum) {
    setenv("LUMIKO_FORUM_URL", "http://forum.test", 1);
    App& a = start();
    unsetenv("LUMIKO_FORUM_URL");
    EXPECT_EQ(a.form.隐藏的超级链接框.text(), "http://forum.test/");
}

}  // namespace
}  // namespace lumiko::testing

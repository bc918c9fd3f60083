// The dictionary settings window: its list, the stored name shown, the save
// checked byte for byte on disk, and its two links.
#include <algorithm>

#include "panel_fixture.h"
#include "platform/posix/files.h"
#include "small_disk.h"
#include "web/dictionarynames.h"

namespace lumiko::testing {
namespace {

std::string readNative(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SettingsTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        // The executable's folder is not the working directory: the working
        // folder's tables are read, and the choice is kept beside them.
        std::string tmpl = (fs::temp_directory_path() / "lumiko-exe-XXXXXX").string();
        exeDir_ = mkdtemp(tmpl.data());
        fs::create_directories(exeDir_ / u8"词库");
        svc.exeDir = posix::corePath(exeDir_.string());
        for (const char8_t* name : {u8"新华字典.txt", u8"五笔.txt", u8"说明.doc"})
            std::ofstream(fs::path(u8"词库") / u8"字典" / name) << "x";
        fs::create_directories(fs::path(u8"词库") / u8"字典" / u8"旧.txt");  // a folder
        start();
        // Start-up told that this folder has no code tables; the window's
        // own messages are counted from here.
        svc.messages.clear();
        svc.logged.clear();
    }
    void TearDown() override {
        PanelTest::TearDown();
        std::error_code ec;
        fs::remove_all(exeDir_, ec);
    }
    SettingsForm& window() { return *app->settings; }
    // Beside the tables read at start-up, the working folder's here.
    fs::path savedFile() const { return fs::path(u8"词库") / u8"字典.txt"; }

    fs::path exeDir_;
};

TEST_F(SettingsTest, OpensWithTheFolderListAndTheStoredName) {
    writeTable(u8"字典.txt", "五笔\r\n");
    app->form.findMenuItem("字典设置")->onChoose();
    ASSERT_TRUE(app->settings);
    auto items = window().列表框1.items;
    std::sort(items.begin(), items.end());
    EXPECT_EQ(items, (std::vector<Text>{"五笔.txt", "新华字典.txt"}));
    EXPECT_EQ(window().标签3.text(), "当前反查字典为: 五笔\r\n");
    EXPECT_FALSE(window().加载.enabled);
    EXPECT_EQ(window().title, "Lumiko 反查字典设置");
    EXPECT_EQ(svc.settingsShown, 1);
}

TEST_F(SettingsTest, SelectionFillsTheNameAndEnablesSaving) {
    app->openSettings();
    auto& list = window().列表框1;
    list.selected = static_cast<int>(std::find(list.items.begin(), list.items.end(), "新华字典.txt") -
                                     list.items.begin());
    list.onSelect();
    EXPECT_EQ(window().编辑框1.text(), "新华字典.txt");
    EXPECT_TRUE(window().加载.enabled);

    window().加载.onClick();
    EXPECT_EQ(readNative(savedFile()), "\xD0\xC2\xBB\xAA\xD7\xD6\xB5\xE4");  // 新华字典, 8 bytes
    EXPECT_FALSE(fs::exists(exeDir_ / u8"词库" / u8"字典.txt"));  // not beside the executable
    EXPECT_TRUE(svc.messages.empty());
    EXPECT_TRUE(app->settings);
}

TEST_F(SettingsTest, SaveWritesTheNameLessFourBytes) {
    struct Case {
        Text content;
        std::string onDisk;  // what the file holds afterwards
        bool told;           // refused with a message box
    };
    const Case cases[] = {
        {"五笔.txt", "\xCE\xE5\xB1\xCA", false},
        {"abcdefgh", "abcd", false},            // typed by hand, no extension
        {"abc.txt\r\n", "abc.t", false},        // whatever the last four bytes are
        {".txt", "", false},                    // four bytes or fewer: an empty name
        {"\xA9\x5Cx.txt", "\xA9\x5Cx", false},  // a trail byte 0x5C is no separator
        // A name start-up would not load as it stands is not stored; the
        // earlier choice stays and the user is told.
        {"..\\..\\secret.txt", "\xA9\x5Cx", true},
        {"../secret.txt", "\xA9\x5Cx", true},
        {" a.txt", "\xA9\x5Cx", true},
        {"a\xD2.txt", "\xA9\x5Cx", true},
        // Files inside the folder: "...txt" and a colon (no separator here).
        {"...txt", "..", false},
        {"a.txt", "a", false},
        // A colon would address a data stream on Windows.
        {"C:x.txt", kColonSeparates ? "a" : "C:x", kColonSeparates},
    };
    std::ofstream(savedFile(), std::ios::binary) << "a much longer earlier name\r\n";
    app->openSettings();
    size_t told = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        window().编辑框1.setText(c.content);
        window().加载.onClick();
        EXPECT_EQ(readNative(savedFile()), c.onDisk);
        told += c.told;
        ASSERT_EQ(svc.messages.size(), told);
    }
    // Replaced whole, with nothing left beside it but the dictionaries.
    EXPECT_EQ(std::distance(fs::directory_iterator(u8"词库"), fs::directory_iterator()), 2);
}

TEST_F(SettingsTest, RefusedAndFailedSavesAreToldWithTheFileAndTheReason) {
    app->openSettings();
    // The file as the system spells it.
    const Text file = svc.absolutePath("词库\\字典.txt");
#ifndef _WIN32
    EXPECT_EQ(file, posix::corePath((fs::current_path() / savedFile()).string()));
#endif
    window().编辑框1.setText("../x.txt");
    window().加载.onClick();
    fs::create_directories(savedFile() / "inside");  // the choice file is a folder: the write fails
    window().编辑框1.setText("五笔.txt");
    window().加载.onClick();
    fs::remove_all(u8"词库");  // the folder is gone
    window().加载.onClick();
    ASSERT_EQ(svc.messages.size(), 3u);
    const Text reasons[] = {"名称含有路径分隔符", "Is a directory", "No such file or directory"};
    for (size_t i = 0; i < 3; ++i) {
        const Text& text = svc.messages[i].text;
        EXPECT_EQ(svc.messages[i].title, "Lumiko 反查字典设置");
        EXPECT_EQ(svc.messages[i].buttons, Buttons::Ok);
        const Text head = "字典选择未能保存到 " + file + "\r\n原因: ", tail = "\r\n原来的选择保持不变。";
        ASSERT_GT(text.size(), head.size() + tail.size()) << i;
        EXPECT_EQ(text.substr(0, head.size()), head);
        EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
#ifndef _WIN32  // elsewhere the system words its reasons itself
        EXPECT_EQ(text.substr(head.size(), text.size() - head.size() - tail.size()), reasons[i]);
#endif
    }
    EXPECT_EQ(svc.logged.size(), 3u);
    EXPECT_TRUE(app->settings);
}

TEST_F(SettingsTest, AFullDiskKeepsTheOldChoiceAndSaysSo) {
    app->openSettings();
    const SmallDisk disk(u8"词库", 64);  // over the tables' folder, after the list was read
    if (!disk.mounted()) GTEST_SKIP() << "mounting a small tmpfs needs root";
    std::ofstream(savedFile()) << "新华字典";
    disk.fill();
    window().编辑框1.setText("五笔.txt");
    window().加载.onClick();
    ASSERT_EQ(svc.messages.size(), 1u);
    EXPECT_EQ(svc.messages[0].text, "字典选择未能保存到 " + svc.absolutePath("词库\\字典.txt") +
                                        "\r\n原因: No space left on device\r\n原来的选择保持不变。");
    EXPECT_EQ(readNative(savedFile()), "新华字典");
}

TEST_F(SettingsTest, DotNamesAndUpperCaseExtensionsAreListedAndSaved) {
    for (const char8_t* name : {u8"...txt", u8"X.TXT"}) std::ofstream(fs::path(u8"词库") / u8"字典" / name) << "x";
    app->openSettings();
    auto& list = window().列表框1;
    for (const Text& item : {Text("...txt"), Text("X.TXT")}) {
        SCOPED_TRACE(item);
        const auto it = std::find(list.items.begin(), list.items.end(), item);
        ASSERT_NE(it, list.items.end());
        list.selected = static_cast<int>(it - list.items.begin());
        list.onSelect();
        window().加载.onClick();
        EXPECT_EQ(readNative(savedFile()), item.substr(0, item.size() - 4));
    }
    EXPECT_TRUE(svc.messages.empty());
}

TEST_F(SettingsTest, LinksOpenTheFolderAndTheDownloadPage) {
    setenv("LUMIKO_FORUM_URL", "http://forum.test/", 1);
    app->openSettings();
    window().加载1.onClick();
    window().透明标签1.onLeftUp(5, 5);
    unsetenv("LUMIKO_FORUM_URL");
    ASSERT_EQ(svc.opened.size(), 2u);
    EXPECT_EQ(svc.opened[0], "词库\\字典");
    EXPECT_EQ(svc.opened[1], "http://forum.test/thread-57-1-1.html");
    EXPECT_EQ(app->form.隐藏的超级链接框.text(), "http://forum.test/thread-57-1-1.html");
}

}  // namespace
}  // namespace lumiko::testing

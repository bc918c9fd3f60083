// Where start-up and the settings window find the tables and the dictionary
// choice, in each layout: the choice saved is the one read after a restart,
// and a folder the program may not write is left as it was.
#include <algorithm>

#include "platform/posix/files.h"
#include "panel_fixture.h"

namespace lumiko::testing {
namespace {

std::string readNative(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Text core(const fs::path& p) { return posix::corePath(fs::absolute(p).string()); }

class DictionaryLayoutTest : public PanelTest {
protected:
    // Tables with two dictionaries and the shipped choice 甲.
    static void shipTables(const fs::path& tables) {
        fs::create_directories(tables / u8"字典");
        std::ofstream(tables / u8"笔画.txt", std::ios::binary) << "1 一";
        std::ofstream(tables / u8"字典.txt", std::ios::binary) << "甲";
        std::ofstream(tables / u8"字典" / u8"甲.txt", std::ios::binary) << "甲的字典";
        std::ofstream(tables / u8"字典" / u8"乙.txt", std::ios::binary) << "乙的字典";
    }

    void choose(const Text& item) {
        app->openSettings();
        auto& list = app->settings->列表框1;
        const auto at = std::find(list.items.begin(), list.items.end(), item);
        ASSERT_NE(at, list.items.end()) << item;
        list.selected = static_cast<int>(at - list.items.begin());
        list.onSelect();
        app->settings->加载.onClick();
    }
    void restart() {
        app.reset();
        start();
    }
};

TEST_F(DictionaryLayoutTest, TheChoiceSavedIsReadAfterARestartInEachLayout) {
    struct Case {
        const char* layout;
        bool workingTables, workingWritable, installedWritable;
        const char8_t* choiceOnDisk;  // where the save must land, under the scratch folder
        Text picked;                  // a dictionary the user added, or a shipped one
    };
    const Case cases[] = {
        {"portable", true, true, false, u8"词库/字典.txt", "乙.txt"},
        {"portable, read-only", true, false, false, u8"home/config/字典.txt", "丙.txt"},
        {"installed", false, false, false, u8"home/config/字典.txt", "丙.txt"},
        {"installed, writable", false, false, true, u8"inst/词库/字典.txt", "乙.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.layout);
        fs::remove_all(u8"词库");
        fs::remove_all("inst");
        fs::remove_all("home");
        const fs::path tables = c.workingTables ? fs::path(u8"词库") : fs::path("inst") / u8"词库";
        shipTables(tables);
        fs::create_directories("home/config");
        fs::create_directories("home/dictionaries");
        std::ofstream(fs::path("home/dictionaries") / u8"丙.txt", std::ios::binary) << "丙的字典";

        svc.layout = LayoutFacts{};
        svc.layout.workingTables = c.workingTables;
        svc.layout.workingFolder = core(".");
        svc.layout.workingWritable = c.workingWritable;
        svc.layout.installedTables = core(fs::path("inst") / u8"词库");
        svc.layout.installedWritable = c.installedWritable;
        svc.layout.userFolder = core("home/config");
        svc.layout.userDictionaries = core("home/dictionaries");

        start();
        EXPECT_EQ(app->g.strokeTable.str(), "1 一\r\n");
        EXPECT_EQ(app->g.dictionaryName, "甲");  // the shipped default
        EXPECT_EQ(app->g.dictionaryText.str(), "甲的字典");

        choose(c.picked);
        const Text name = c.picked.substr(0, c.picked.size() - 4);
        EXPECT_EQ(readNative(c.choiceOnDisk), name);
        restart();
        EXPECT_EQ(app->g.dictionaryName, name);
        EXPECT_EQ(app->g.dictionaryText.str(), name + "的字典");
        EXPECT_EQ(app->settings, nullptr);
        app->openSettings();
        EXPECT_EQ(app->settings->标签3.text(), "当前反查字典为: " + name);
        // The shipped default stays as shipped unless it is the one written.
        if (fs::path(c.choiceOnDisk) != tables / u8"字典.txt") {
            EXPECT_EQ(readNative(tables / u8"字典.txt"), "甲");
        }
        app.reset();
    }
}

TEST_F(DictionaryLayoutTest, InstalledListsTheUsersDictionariesFirstAndOpensTheirFolder) {
    shipTables(fs::path("inst") / u8"词库");
    fs::create_directories("home/dictionaries");
    for (const char8_t* n : {u8"丙.txt", u8"乙.txt"})  // 乙 here overrides the shipped one
        std::ofstream(fs::path("home/dictionaries") / n, std::ios::binary) << "用户的";
    svc.layout.workingTables = false;
    svc.layout.installedTables = core(fs::path("inst") / u8"词库");
    svc.layout.userFolder = core("home/config");
    svc.layout.userDictionaries = core("home/dictionaries");
    std::ofstream(fs::path("inst") / u8"词库" / u8"字典.txt", std::ios::binary) << "乙";
    start();
    EXPECT_EQ(app->g.dictionaryText.str(), "用户的");

    app->openSettings();
    auto items = app->settings->列表框1.items;
    ASSERT_EQ(items.size(), 3u);  // 乙 once
    std::sort(items.begin(), items.begin() + 2);
    EXPECT_EQ(items, (std::vector<Text>{"丙.txt", "乙.txt", "甲.txt"}));
    app->settings->加载1.onClick();
    ASSERT_EQ(svc.opened.size(), 1u);
    EXPECT_EQ(svc.opened[0], core("home/dictionaries"));
}

}  // namespace
}  // namespace lumiko::testing

// Start-up over files that are not what they should be: pipes in place of
// tables, unusable tables, dictionary names of every shape. Linux only: the
// reasons are the system's words, and names hold a colon.
#include <sys/stat.h>

#include <algorithm>

#include "panel_fixture.h"
#include "platform/posix/files.h"

namespace lumiko::testing {
namespace {

class BadFilesTest : public PanelTest {};

// One rule for the stored name: blanks and line breaks around it are
// dropped, ".txt" is found in any case (a file of the name that cannot be
// read gives way to another), "." and ".." are ordinary names, and only a
// name that would leave the folder loads nothing.
TEST_F(BadFilesTest, DictionaryNamesLoadInsideTheDictionaryFolder) {
    writeTable(u8"笔画.txt", "secret");
    writeTable(u8"字典/.txt", "zz 一");
    writeTable(u8"字典/..txt", "dot a");
    writeTable(u8"字典/...txt", "dots a");
    writeTable(u8"字典/拼音.txt", "py a");
    writeTable(u8"字典/X.TXT", "upper a");
    writeTable(u8"字典/a:b.txt", "colon a");
    for (const char8_t* tooLarge : {u8"字典/Y.txt", u8"字典/Y.TXT"}) {  // refused: over the size cap
        writeTable(tooLarge, "");
        fs::resize_file(fs::path(u8"词库") / tooLarge, 65u << 20);
    }
    writeTable(u8"字典/Y.TXt", "readable a");
    struct Case {
        const char* stored;
        Text name;        // dictionaryName
        const char* text;  // dictionaryText
    } cases[] = {
        {"..\\笔画", "..\\笔画", ""}, {"../笔画", "../笔画", ""}, {"C:\\x", "C:\\x", ""},
        {"", "", "zz 一"},           // an empty name reads 字典/.txt
        {".", ".", "dot a"},          {"..", "..", "dots a"},
        {"拼音\r\n", "拼音", "py a"},  // what text editors write
        {" \t拼音 \r\n\r\n", "拼音", "py a"},
        {"X", "X", "upper a"},        // the file is X.TXT
        {"Y", "Y", "readable a"},     // Y.txt and Y.TXT are too large
        {"a:b", "a:b", "colon a"},    // a colon separates nothing here
        {"\x95\x5c", "\x95\x5c", "ok a"},  // a trail byte 0x5C is no separator
    };
    posix::writeFile("词库\\字典\\\x95\x5c.txt", "ok a");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        writeTable(u8"字典.txt", c.stored);
        App& a = start();
        EXPECT_EQ(a.g.dictionaryName, c.name);
        EXPECT_EQ(a.g.dictionaryText.str(), c.text);
    }
    // A name that leads out of the folder is logged.
    EXPECT_EQ(std::count_if(svc.logged.begin(), svc.logged.end(),
                            [](const Text& line) { return line.find("dictionary name refused") != Text::npos; }),
              3);
}

// Pipes in place of the tables or the dictionary once hung start-up.
TEST_F(BadFilesTest, PipesInPlaceOfFilesDoNotStallStartUp) {
    writeTable(u8"字典.txt", "拼音");
    for (const fs::path& p : {fs::path(u8"词库") / u8"笔画.txt", fs::path(u8"词库") / u8"字典" / u8"拼音.txt"})
        ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0) << p;
    App& a = start();
    EXPECT_EQ(a.g.strokeTable.str(), "\r\n");
    EXPECT_EQ(a.g.dictionaryText.str(), "");
}

// Unusable code tables are told once, in a box and in the log, naming each
// with its reason and the folder; the panel starts all the same.
TEST_F(BadFilesTest, UnusableTablesAreToldOnceAtStartUp) {
    writeTable(u8"笔画.txt", "\r\n1 一");
    writeTable(u8"附加笔画.txt", "");
    fs::create_directory(fs::path(u8"词库") / u8"联想词.txt");
    App& a = start();
    ASSERT_EQ(svc.messages.size(), 1u);
    const Text& text = svc.messages[0].text;
    EXPECT_EQ(svc.messages[0].title, "Lumiko输入法 1.0");
    EXPECT_EQ(text, "以下码表缺失、无法读取或为空,面板查不到它们的候选字:\r\n"
                    "附加笔画.txt: 文件为空\r\n"
                    "四角号码.txt: No such file or directory\r\n"
                    "联想词.txt: Is a directory\r\n"
                    "查找的文件夹: " + posix::corePath((fs::current_path() / u8"词库").string()));
    EXPECT_EQ(svc.logged, std::vector<Text>{text});
    EXPECT_EQ(a.g.strokeTable.str(), "\r\n1 一\r\n");
    EXPECT_TRUE(a.form.显字标签.text().size() > 0);  // the component list all the same
}

}  // namespace
}  // namespace lumiko::testing

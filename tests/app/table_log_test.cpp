// Tables that cannot be read are told to the developer's log, by path; the
// panel still starts with them empty.
#include "panel_fixture.h"

namespace lumiko::testing {
namespace {

class TableLogTest : public PanelTest {};

TEST_F(TableLogTest, EachMissingTableIsLoggedByItsPath) {
    writeTable(u8"笔画.txt", "1 \xd2\xbb");  // 一
    writeTable(u8"字典.txt", "gone");        // a dictionary without its file
    start();
    // The dictionary as it is read; the tables in the one text that start-up
    // also shows in its message box, naming each file and the folder.
    ASSERT_EQ(svc.logged.size(), 2u);
    EXPECT_EQ(svc.logged[0], "cannot read the dictionary gone.txt");
    ASSERT_EQ(svc.messages.size(), 1u);
    EXPECT_EQ(svc.logged[1], svc.messages[0].text);
    for (const char* file : {"附加笔画.txt: ", "四角号码.txt: ", "联想词.txt: ", "查找的文件夹: "})
        EXPECT_NE(svc.logged[1].find(file), Text::npos) << file;
    EXPECT_EQ(svc.logged[1].find("\r\n笔画.txt"), Text::npos);  // 笔画.txt was read
}

TEST_F(TableLogTest, NoDictionaryChosenIsNotAFailure) {
    for (const char8_t* name : {u8"笔画.txt", u8"附加笔画.txt", u8"四角号码.txt", u8"联想词.txt"})
        writeTable(name, "1 x");
    start();
    EXPECT_TRUE(svc.logged.empty());
}

}  // namespace
}  // namespace lumiko::testing

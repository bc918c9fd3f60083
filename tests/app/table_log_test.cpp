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
    const std::vector<Text> expected = {
        "cannot read the table 词库\\附加笔画.txt",
        "cannot read the table 词库\\四角号码.txt",
        "cannot read the table 词库\\联想词.txt",
        "cannot read the dictionary 词库\\字典\\gone.txt",
    };
    EXPECT_EQ(svc.logged, expected);
}

TEST_F(TableLogTest, NoDictionaryChosenIsNotAFailure) {
    for (const char8_t* name : {u8"笔画.txt", u8"附加笔画.txt", u8"四角号码.txt", u8"联想词.txt"})
        writeTable(name, "1 x");
    start();
    EXPECT_TRUE(svc.logged.empty());
}

}  // namespace
}  // namespace lumiko::testing

// The information strip: its frame, and code and dictionary lookups that
// take the subject literally.
#include "panel_fixture.h"

namespace lumiko::testing {
namespace {

class InfoStripTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        writeTable(u8"笔画.txt", "1 一\r\n12 十");
        writeTable(u8"附加笔画.txt", "6 一");
        writeTable(u8"四角号码.txt", "1000 一\r\n4000 十");
        writeTable(u8"字典.txt", "五笔");
        std::ofstream(fs::path(u8"词库") / u8"字典" / u8"五笔.txt", std::ios::binary)
            << "ggll 一\r\nfgh 十";
        start();
    }
    Text readings(const Text& s) {
        Text r;
        for (const auto& x : svc.pinyinReadings(s)) r += x + "  ";
        return r;
    }
    const Text& strip() { return app->form.编辑框1.text(); }
    // The codes found for `subject` in the current lookup table.
    Text codes(const Text& subject) {
        app->form.编辑框.setText(subject);
        const Text& s = strip();
        const size_t open = s.find("反查: [  ") + std::string_view("反查: [  ").size();
        return s.substr(open, s.find("  " + subject + "  ]\r\n", open) - open);
    }
    Text entries(const Text& subject) {
        app->form.编辑框.setText(subject);
        const Text& s = strip();
        const size_t open = s.find("字典: [  ") + std::string_view("字典: [  ").size();
        return s.substr(open, s.size() - open - subject.size() - 5);
    }
};

TEST_F(InfoStripTest, Frame) {
    app->form.编辑框.setText("一");
    ASSERT_FALSE(readings("一").empty());
    EXPECT_EQ(strip(), "       拼音: [ " + readings("一") +
                           "一 ]    反查: [  1   一  ]\r\n       五笔字典: [  ggll   一  ]");
}

TEST_F(InfoStripTest, EmptySubjectKeepsTheFrame) {
    app->form.编辑框.setText("x");
    app->form.编辑框.setText("");
    EXPECT_EQ(strip(), "       拼音: [  ]    反查: [      ]\r\n       五笔字典: [      ]");
}

TEST_F(InfoStripTest, SubjectWithSpacesIsLookedUpWithout) {
    app->g.strokeTable = Text("7 一二");
    app->form.编辑框.setText("一 二");
    const Text& s = strip();
    EXPECT_NE(s.find(readings("一 二") + "一 二 ]    "), Text::npos);
    EXPECT_NE(s.find("反查: [  7   一二  ]"), Text::npos);
}

TEST_F(InfoStripTest, DictionaryNameKeepsItsLineBreak) {
    app->g.dictionaryName = "五笔\r\n";
    app->form.编辑框.setText("一");
    EXPECT_NE(strip().find("\r\n       五笔\r\n字典: [  ggll   一  ]"), Text::npos);
}

TEST_F(InfoStripTest, TableFollowsTheInputMode) {
    EXPECT_EQ(codes("一"), "1 ");
    app->enterExtraStrokeMode();
    EXPECT_EQ(codes("一"), "6 ");
    EXPECT_EQ(std::string_view(app->g.lookupTable), std::string_view(app->g.extraStrokeTable));
    app->enterFourCornerMode();
    EXPECT_EQ(codes("一"), "1000 ");
    app->enterStrokeMode();
    EXPECT_EQ(codes("十"), "12 ");
}

// Subjects that a pattern engine would misread: pattern characters, and GBK
// characters whose trail byte is one (‐ A9 5C, 乛 81 5E, 亅 81 7C, ﹞ A9 7B).
TEST_F(InfoStripTest, CodesMatchTheSubjectLiterally) {
    struct Case {
        Text subject;
        Text table;
        Text codes;
    };
    const Case cases[] = {
        {"(", "1 (\r\n2 ((\r\n3 x(", "1 "},
        {")", "1 )\r\n2 x", "1 "},
        {".", "4 .\r\n5 x\r\n6 ..", "4 "},
        {"\\", "7 \\\r\n8 \\\\\r\n9 n", "7 "},
        {"+", "1 +\r\n2 ++", "1 "},
        {"[", "1 [\r\n2 [a", "1 "},
        {"\xA9\x5C", "9 \xA9\x5C\r\n10 \xA9\r\n11 \xA9\x5C\x5C", "9 "},
        {"\x81\x5E", "12 \x81\x5E\r\n13 \x81", "12 "},
        {"\x81\x7C", "14 \x81\x7C\r\n15 a\r\n16 \x81", "14 "},
        {"\xA9\x7B", "17 \xA9\x7B\r\n18 \xA9\x7B\x7B", "17 "},
        // A word is looked up as a whole.
        {"一二", "1 一\r\n12 一二\r\n123 一二三\r\n5 二", "12 "},
        // 1 to 20 digits, one blank, the subject, the end of the line.
        {"一",
         "12345678901234567890 一\r\n123456789012345678901 一\r\n1a 一\r\n 1 一\r\n"
         "2  一\r\n3 一 \r\n4 一\r\n",
         "12345678901234567890 4 "},
        // Lines end at CR, LF or the end of the table.
        {"一", "1 一\n2 一\r3 一", "1 2 3 "},
        {"一", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.subject);
        app->g.strokeTable = c.table;
        EXPECT_EQ(codes(c.subject), c.codes);
    }
}

TEST_F(InfoStripTest, DictionaryCodesAreLowerCaseLetters) {
    struct Case {
        Text subject;
        Text dictionary;
        Text entries;
    };
    const Case cases[] = {
        {"一", "ggll 一\r\nGGLL 一\r\ng1 一\r\nabcdefghijklmnopqrstu 一\r\nabcdefghijklmnopqrst 一\r\n", "ggll abcdefghijklmnopqrst "},
        {"(", "a (\r\nb ((", "a "},
        {"\x81\x7C", "a \x81\x7C\r\nb x", "a "},
        {"一", "1 一", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.subject);
        app->g.dictionaryText = c.dictionary;
        EXPECT_EQ(entries(c.subject), c.entries);
    }
}

}  // namespace
}  // namespace lumiko::testing

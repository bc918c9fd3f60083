#include "engine/pagedlist.h"

#include <gtest/gtest.h>

#include <string>

namespace lumiko {
namespace {

constexpr PageLayout kGrid{30, true};
constexpr PageLayout kStrip{18, false};

struct List {
    Text text;
    int searchPos = 0;
    int pageIndex = 0;
    std::vector<Text> history;
    void run(std::string_view table, std::string_view code, const PageLayout& layout, int paging,
             int backward = 0) {
        runPagedList(table, code, layout, PageState{text, searchPos, pageIndex, history}, paging,
                     backward);
    }
};

// A table of `n` lines "1 <item>" with items a1, a2, … (ASCII keeps the
// expected texts readable).
Text numbered(int n, const char* key = "1") {
    Text t = "\r\n";
    for (int i = 1; i <= n; ++i) t += std::string(key) + " a" + std::to_string(i) + "\r\n";
    return t;
}

Text items(int from, int to, bool rows) {
    Text t;
    for (int i = from, n = 1; i <= to; ++i, ++n) {
        t += "a" + std::to_string(i);
        t += rows && (n == 8 || n == 16 || n == 24) ? " \r\n" : " ";
    }
    return t.empty() ? t : t + " ";
}

TEST(ReadTableLine, AcceptsOnlyLinesOfTheFormat) {
    struct Case {
        Text table;
        bool ok;
        Text key, value;
    } cases[] = {
        {"\r\n12 ab\r\n", true, "12", "ab"},
        {"\r\n12 ab third\r\n", true, "12", "ab"},
        {"\r\n12ab\r\n", false, "", ""},                       // no space
        {"\r\n12 \r\n", false, "", ""},                        // empty value
        {"\r\n1 " + std::string(250, 'x') + "\r\n", false, "", ""},  // too long
        {"\r\n1 ab", false, "", ""},                           // no line end
    };
    for (const auto& c : cases) {
        std::string_view key, value;
        EXPECT_EQ(readTableLine(c.table, 1, key, value), c.ok) << c.table;
        if (c.ok) {
            EXPECT_EQ(key, c.key);
            EXPECT_EQ(value, c.value);
        }
    }
}

TEST(PagedList, ThirtyOneLinesMakeTwoPages) {
    const Text table = numbered(31);
    List l;
    l.run(table, "1", kGrid, 0);
    EXPECT_EQ(l.text, items(1, 30, true));
    EXPECT_EQ(l.searchPos, static_cast<int>(table.find("\r\n1 a31")) + 1);
    l.run(table, "1", kGrid, 1);
    EXPECT_EQ(l.text, "a31  ");
    EXPECT_EQ(l.pageIndex, 1);
    EXPECT_EQ(l.searchPos, -1);
    // Past the end the page and the history stay as they are.
    l.run(table, "1", kGrid, 1);
    EXPECT_EQ(l.text, "a31  ");
    EXPECT_EQ(l.history.size(), 1u);
}

TEST(PagedList, EightItemsEndTheFirstRow) {
    List l;
    l.run(numbered(8), "1", kGrid, 0);
    EXPECT_EQ(l.text, "a1 a2 a3 a4 a5 a6 a7 a8 \r\n ");
}

TEST(PagedList, DuplicateProbeSkipsOnlyExactKeyRepeats) {
    List l;
    l.run("\r\n12 x\r\n123 x\r\n1234 x\r\n", "12", kGrid, 0);
    EXPECT_EQ(l.text, "x x x  ");
    l.run("\r\n12 x\r\n12 x\r\n12 x\r\n", "12", kGrid, 0);
    EXPECT_EQ(l.text, "x  ");
}

TEST(PagedList, PrefixMatchAndFirstLine) {
    const Text table = "123 first\r\n123 z\r\n";  // the first line has no line break before it
    struct Case {
        const char* code;
        const char* expected;
    } cases[] = {{"1", "z  "}, {"12", "z  "}, {"123", "z  "}, {"1234", ""}, {"23", ""}, {"", ""}};
    for (const auto& c : cases) {
        List l;
        l.text = "stale";
        l.run(table, c.code, kGrid, 0);
        EXPECT_EQ(l.text, c.expected) << c.code;
    }
}

TEST(PagedList, PagingBackAndForthUsesTheHistory) {
    const Text table = numbered(75);
    List l;
    l.run(table, "1", kGrid, 0);
    l.run(table, "1", kGrid, 1, 1);  // back on page 1: nothing changes
    EXPECT_EQ(l.text, items(1, 30, true));
    EXPECT_EQ(l.pageIndex, 0);
    l.run(table, "1", kGrid, 1);
    l.run(table, "1", kGrid, 1);
    EXPECT_EQ(l.text, items(61, 75, true));
    EXPECT_EQ(l.history.size(), 2u);
    l.run(table, "1", kGrid, 1, 1);
    EXPECT_EQ(l.text, items(31, 60, true));
    EXPECT_EQ(l.pageIndex, 1);
    l.run(table, "1", kGrid, 1);  // forward again: from the history
    EXPECT_EQ(l.text, items(61, 75, true));
    EXPECT_EQ(l.history.size(), 2u);
    l.run(table, "1", kGrid, 1, 1);
    l.run(table, "1", kGrid, 1, 1);  // back from page 2 rebuilds page 1 and forgets the rest
    EXPECT_EQ(l.text, items(1, 30, true));
    EXPECT_TRUE(l.history.empty());
    EXPECT_EQ(l.searchPos, static_cast<int>(table.find("\r\n1 a31")) + 1);
}

TEST(PagedList, StripPagesHoldEighteenWithoutRows) {
    const Text table = numbered(40);
    List l;
    l.run(table, "1", kStrip, 0);
    EXPECT_EQ(l.text, items(1, 18, false));
    l.run(table, "1", kStrip, 1);
    l.run(table, "1", kStrip, 1);
    EXPECT_EQ(l.text, items(37, 40, false));
}

TEST(PagedList, MalformedLinesAreSkippedNotShown) {
    const Text table = "\r\n1 a\r\n1\r\n1 " + std::string(300, 'y') + "\r\n1 b\r\n\xff\xfe";
    List l;
    l.run(table, "1", kGrid, 0);
    EXPECT_EQ(l.text, "a b  ");
}

}  // namespace
}  // namespace lumiko

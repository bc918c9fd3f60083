#include "engine/pagedlist.h"
#include "engine/wordhints.h"
#include "platform/look.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>

namespace lumiko {
namespace {

// A list's page size and how its page is drawn: the grid's rows or the
// strip's one line.
struct PageLayout {
    int perPage;
    bool rows;
};
constexpr PageLayout kGrid{30, true};
constexpr PageLayout kStrip{18, false};

// One paged list and the caption its page is drawn with.
struct List {
    PagedList list;
    CandidatePage page;
    Text text;
    int searchPos = 0;
    int pageIndex = 0;
    std::vector<CandidateList> history;
    void run(std::string_view table, std::string_view code, const PageLayout& layout, int paging,
             int backward = 0) {
        runPagedList(SharedText(Text(table)), code, layout.perPage, list, page, paging, backward);
        text = layout.rows ? look::gridCaption(page.items) : look::stripPageCaption(page.items);
        searchPos = list.searchPos;
        pageIndex = list.pageIndex;
        history = list.history;
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
        // Bytes that are not whole GBK characters, in the key or the value.
        {"\r\n1 \x80\r\n", false, "", ""},
        {"\r\n1 a\xd2\r\n", false, "", ""},
        {"\r\n1\xff \xd2\xbb\r\n", false, "", ""},
        {"\r\n1 \xd2\xbb \xff\r\n", true, "1", "\xd2\xbb"},  // a third field is not read
        {std::string("\r\n1 a\0b\r\n", 9), true, "1", std::string("a\0b", 3)},
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
        l.page.items = {Candidate{"stale", "1"}};
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

namespace lumiko {
namespace {

TEST(LineIndex, FindsWhatAPlainSearchFinds) {
    // Tables of short lines over a small alphabet, so that codes, line
    // breaks and partial matches meet often.
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
    const char alphabet[] = {'1', '2', ' ', '\r', '\n', '\xd2', '\xbb'};
    for (int round = 0; round < 200; ++round) {
        Text table;
        for (int i = 0, n = static_cast<int>(next() % 60); i < n; ++i) table += alphabet[next() % 7];
        const SharedText shared(table);
        for (const char* code : {"1", "2", "12", "21", "\xd2\xbb", "\xd2\xbb" "1", "1 ", "\r", "", "111"}) {
            for (int from = -1; from <= static_cast<int>(table.size()) + 1; ++from)
                ASSERT_EQ(shared.findLine(code, from), findText(table, "\r\n" + Text(code), from))
                    << round << " " << code << " " << from;
        }
    }
}

TEST(WordHints, OnlyKeySpaceAndOneCharacterAtMostEight) {
    const SharedText table("的 确\r\n\r\n的 们\r\n的 士兵\r\n的 ab\r\n的  x\r\n的 \x80\xd2\r\n的确 实\r\n的 一\r\n的 二\r\n"
                           "的 三\r\n的 四\r\n的 五\r\n的 六\r\n的 七\r\n");
    // The first line counts and any two bytes do, a blank among them too (the
    // word drops it); three characters and bytes that are not GBK do not;
    // eight at most.
    // The same before and after the table's line index is made.
    const SharedText last("\r\n乙 丙\r\n甲 乙");
    for (const bool indexed : {false, true}) {
        if (indexed) table.prepareIndex(), last.prepareIndex();
        const std::vector<Text> expected = {"的确", "的们", "的ab", "的x", "的一", "的二", "的三", "的四"};
        EXPECT_EQ(wordHintsOf(table, "的", true), expected);
        EXPECT_EQ(wordHintsOf(table, "的确", true), std::vector<Text>{"的确实"});
        for (const char* none : {"x", "", "的 ", " ", "的\r\n的"}) EXPECT_TRUE(wordHintsOf(table, none, true).empty()) << none;
        // The last line needs no line break after it.
        EXPECT_EQ(wordHintsOf(last, "甲", true), std::vector<Text>{"甲乙"});
    }
}

}  // namespace
}  // namespace lumiko

namespace lumiko {
namespace {

TEST(WordHints, BlanksInTheTwoBytesMatchLineBreaksDoNot) {
    // A carriage return before the line break belongs to the line: too long.
    const SharedText table("\r\n乙 丙\r\n乙 a \r\n乙  b\r\n乙 cd\r\n乙 \n\r\n乙 丁\r\n乙 戊\r\r\n");
    for (const bool indexed : {false, true}) {
        if (indexed) table.prepareIndex();
        Text strip;
        for (const Text& w : wordHintsOf(table, "乙", true)) strip += w + " ";
        EXPECT_EQ(strip, "乙丙 乙a 乙b 乙cd 乙丁 ") << indexed;
    }
}

// The kept answers are the answers: over more keys than are kept, repeated,
// and for a table that takes the place of another.
TEST(WordHints, KeptAnswersFollowTheTable) {
    const SharedText first("甲 乙\r\n乙 丙\r\n丙 丁\r\n丁 戊\r\n戊 己\r\n己 庚\r\n甲 子\r\n");
    const SharedText second("甲 丑\r\n乙 寅\r\n");
    WordHints hints;
    for (const SharedText* table : {&first, &second, &first})
        for (const char* key : {"甲", "乙", "甲", "丙", "丁", "戊", "己", "甲", "乙", "庚", "甲"})
            EXPECT_EQ(hints.of(*table, key), wordHintsOf(*table, key)) << key;
}

// Pages as the page builder makes them, next to the plain line-by-line
// reading, over tables full of repeats, partial keys and malformed lines.
struct Built {
    CandidateList items;
    int searchPos;
    bool operator==(const Built&) const = default;
};
Built built(bool lineByLine, const SharedText& table, std::string_view code, const PageLayout& layout,
            int from, CandidateList start = {}) {
    Built b{std::move(start), 0};
    (lineByLine ? buildPageLineByLine : buildPage)(table, code, layout.perPage, b.items, b.searchPos, from);
    return b;
}

TEST(PageBuilder, EqualsTheLineByLineReading) {
    unsigned seed = 777;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
    const char* keys[] = {"1", "12", "123", "2", "21", "1\xd2\xbb", "\xd2\xbb"};
    const char* values[] = {"a", "b", "a2", "a23", "3", "\xd2\xbb", "\xb6\xfe", "2"};
    const char* odd[] = {"1", "1 ", "12 a b", "1 \x80", "1 a\r", "\r", "1  a", "1 a\n"};
    for (int round = 0; round < 400; ++round) {
        Text table = next() % 2 ? "\r\n" : "";
        const int lines = static_cast<int>(next() % 120);
        const int distinct = 1 + static_cast<int>(next() % 12);  // few distinct lines: many repeats
        std::vector<Text> pool;
        for (int i = 0; i < distinct; ++i)
            pool.push_back(next() % 8 == 0 ? Text(odd[next() % 8])
                                           : Text(keys[next() % 7]) + " " + values[next() % 8]);
        for (int i = 0; i < lines; ++i) table += pool[next() % pool.size()] + "\r\n";
        if (next() % 4 == 0) table += "1 z";  // no line end
        const SharedText shared(table);
        for (const char* code : {"1", "12", "123", "2", "\xd2\xbb", "1\xd2", "1 a", "3"}) {
            for (const PageLayout& layout : {PageLayout{30, true}, PageLayout{18, false}, PageLayout{2, false}}) {
                // Every start a page can have: the table start and each line.
                for (int from = 1; from <= static_cast<int>(table.size()); from = findText(table, "\r\n", from + 1)) {
                    ASSERT_EQ(built(false, shared, code, layout, from), built(true, shared, code, layout, from))
                        << "round " << round << " code " << code << " from " << from;
                    if (from < 1) break;
                }
                // A page begun with items on it already.
                const CandidateList start{Candidate{"a2", "1"}};
                ASSERT_EQ(built(false, shared, code, layout, 1, start), built(true, shared, code, layout, 1, start));
            }
        }
    }
}

TEST(PageBuilder, OneLineRepeatedFillsOnePage) {
    Text table;
    for (int i = 0; i < 100000; ++i) table += "1 一\r\n";
    List l;
    l.run(table, "1", kGrid, 0);
    EXPECT_EQ(l.text, "一  ");
    EXPECT_EQ(l.searchPos, -1);
    l.run(table, "1", kGrid, 1);  // nothing further: the page stays
    EXPECT_EQ(l.text, "一  ");
    EXPECT_TRUE(l.history.empty());
}

}  // namespace
}  // namespace lumiko

namespace lumiko {
namespace {

// The information strip's reverse lookup as a plain scan of the table for
// the blank and the subject, checking the line around each hit.
// What one hit of the blank and a subject of `size` bytes at `blank` adds:
// the code before the blank and a blank, if the hit is a whole line.
void addHit(Text& out, std::string_view table, size_t blank, size_t size, bool (*isCodeChar)(char)) {
    const size_t end = blank + 1 + size;
    if (end < table.size() && table[end] != '\r' && table[end] != '\n') return;
    size_t start = blank;
    while (start > 0 && blank - start <= 20 && isCodeChar(table[start - 1])) --start;
    const size_t length = blank - start;
    if (length == 0 || length > 20) return;
    if (start > 0 && table[start - 1] != '\r' && table[start - 1] != '\n') return;
    out.append(table.substr(start, length));
    out.push_back(' ');
}

Text scannedCodes(std::string_view table, std::string_view subject, bool (*isCodeChar)(char)) {
    Text out;
    if (subject.find_first_of("\r\n") != std::string_view::npos) return out;
    const Text needle = " " + Text(subject);
    for (int at = findText(table, needle); at != -1; at = findText(table, needle, at + 1))
        addHit(out, table, static_cast<size_t>(at - 1), subject.size(), isCodeChar);
    return out;
}

// The scan above for every two-byte subject at once: the hits of a subject
// are the blanks followed by it, met here in the same order.
std::map<Text, Text> scannedCodesOfEveryPair(std::string_view table, bool (*isCodeChar)(char)) {
    std::map<Text, Text> out;
    for (size_t blank = 0; blank + 2 < table.size(); ++blank) {
        if (table[blank] != ' ') continue;
        const Text subject(table.substr(blank + 1, 2));
        if (subject.find_first_of("\r\n") != Text::npos) continue;
        addHit(out[subject], table, blank, 2, isCodeChar);
    }
    return out;
}

TEST(CodeIndex, EqualsAPlainScan) {
    unsigned seed = 4242;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
    const char* parts[] = {"1", "23", "a", "bc", " ", "\r", "\n", "\r\n", "\xd2\xbb", "\xb6\xfe", "x",
                           "12345678901234567890", "9"};
    const char* subjects[] = {"\xd2\xbb", "\xb6\xfe", "x", "", "\xd2\xbb\xb6\xfe", "a", "1", "\xd2\xbb\r"};
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    auto letter = [](char c) { return c >= 'a' && c <= 'z'; };
    for (int round = 0; round < 500; ++round) {
        Text table;
        for (int i = 0, n = static_cast<int>(next() % 40); i < n; ++i) table += parts[next() % 13];
        const SharedText shared(table);
        for (const char* subject : subjects) {
            ASSERT_EQ(shared.codesOf(subject, CodeChars::Digits), scannedCodes(table, subject, digit))
                << round << " [" << table << "] " << subject;
            ASSERT_EQ(shared.codesOf(subject, CodeChars::Letters), scannedCodes(table, subject, letter))
                    << round << " [" << table << "] " << subject;
        }
    }
}

// The same over the shipped tables: every GBK character, their own values
// whole, pieces of them cut at any byte (half characters, across a line),
// and random texts of table bytes and pattern characters such as "(", "."
// and "\". (The build
// for Windows, whose tests run under Wine, names no data folder.)
#ifdef LUMIKO_DATA_DIR
// Values held by many lines have their codes joined once; values around
// them, absent ones between them and the scratch text reused must not be
// confused with them.
TEST(CodeIndex, ValuesOfManyLinesEqualAPlainScan) {
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    for (const int many : {31, 32, 33, 200}) {
        Text table = "5 \xb6\xfe\r\n";
        for (int i = 0; i < many; ++i) table += std::to_string(i % 7 + 1) + " \xd2\xbb\r\n";
        table += "9 \xd2\xbc\r\n";
        for (int i = 0; i < many; ++i) table += std::to_string(i % 3 + 1) + " \xd2\xbe\r\n";
        const SharedText shared(table);
        Text scratch = "left over";
        for (const char* subject : {"\xd2\xbb", "\xd2\xbc", "\xd2\xbd", "\xd2\xbe", "\xb6\xfe", "\xd2"}) {
            EXPECT_EQ(shared.codesOf(subject, CodeChars::Digits, scratch), scannedCodes(table, subject, digit))
                << many << " " << subject;
        }
    }
}

TEST(CodeIndex, EqualsAPlainScanOverTheShippedTables) {
    const std::filesystem::path dir = std::filesystem::path(LUMIKO_DATA_DIR) / u8"词库";
    const struct {
        const char8_t* file;
        bool letters;
    } tables[] = {
        {u8"笔画.txt", false},          {u8"附加笔画.txt", false},      {u8"四角号码.txt", false},
        {u8"字典/五笔.txt", true},      {u8"字典/仓颉.txt", true},      {u8"字典/拼音.txt", true},
    };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    auto letter = [](char c) { return c >= 'a' && c <= 'z'; };
    const std::string_view extras = "().\\*+?[]^$| 0123456789az\r\n";
    for (const auto& t : tables) {
        std::ifstream in(dir / t.file, std::ios::binary);
        ASSERT_TRUE(in) << (dir / t.file).string();
        const Text table = Text(std::istreambuf_iterator<char>(in), {}) + "\r\n";
        const SharedText shared(table);
        std::mt19937 random(11);
        auto pick = [&random](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
        size_t found = 0;
        for (int i = 0; i < 400; ++i) {
            const size_t at = pick(table.size());
            Text subject;
            if (i % 4 == 0) {
                subject = table.substr(at, 1 + pick(8));
            } else if (i % 4 == 1) {  // the value of the line around `at`
                const size_t line = table.find_last_of("\r\n", at) + 1;  // npos + 1 is 0
                const size_t blank = table.find(' ', line);
                const size_t end = table.find_first_of("\r\n", line);
                if (blank < end && end != Text::npos) subject = table.substr(blank + 1, end - blank - 1);
            } else {
                for (size_t n = pick(6); n > 0; --n)
                    subject.push_back(pick(2) ? table[pick(table.size())] : extras[pick(extras.size())]);
                if (i % 8 == 2) subject.insert(pick(subject.size() + 1), 1, extras[pick(4)]);
            }
            const Text expected = scannedCodes(table, subject, t.letters ? +letter : +digit);
            ASSERT_EQ(shared.codesOf(subject, t.letters ? CodeChars::Letters : CodeChars::Digits), expected)
                << std::filesystem::path(t.file).string() << " [" << subject << "]";
            found += !expected.empty();
        }
        EXPECT_GT(found, 40u) << std::filesystem::path(t.file).string();  // the table was read

        // Every GBK character, one byte or two.
        const auto isCode = t.letters ? +letter : +digit;
        const CodeChars chars = t.letters ? CodeChars::Letters : CodeChars::Digits;
        for (char c = 0x20; c < 0x7f; ++c)
            ASSERT_EQ(shared.codesOf(Text(1, c), chars), scannedCodes(table, Text(1, c), isCode)) << c;
        const std::map<Text, Text> pairs = scannedCodesOfEveryPair(table, isCode);
        size_t withCodes = 0;
        for (int lead = 0x81; lead <= 0xfe; ++lead)
            for (int trail = 0x40; trail <= 0xfe; ++trail) {
                if (trail == 0x7f) continue;
                const Text subject{static_cast<char>(lead), static_cast<char>(trail)};
                const auto it = pairs.find(subject);
                const Text& expected = it == pairs.end() ? Text() : it->second;
                ASSERT_EQ(shared.codesOf(subject, chars), expected)
                    << std::filesystem::path(t.file).string() << " [" << subject << "]";
                withCodes += !expected.empty();
            }
        EXPECT_GT(withCodes, 6000u) << std::filesystem::path(t.file).string();
    }
}
#endif

}  // namespace
}  // namespace lumiko

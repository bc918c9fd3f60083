// The captions must sit where the core's hit tests look for them.
#include "platform/qt/textlayout.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/look.h"
#include "platform/posix/encoding.h"

namespace lumiko::desktop {
namespace {

std::string gbk(const std::string& utf8) { return posix::utf8ToGbk(utf8); }

std::string utf8Of(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (c >> 18));
        s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

// A grid text as the candidate search writes it: items, each followed by a
// blank, "\r\n" after the 8th, 16th and 24th.
std::string gridOf(const std::u32string& items) {
    std::string utf8;
    for (size_t i = 0; i < items.size(); ++i) {
        utf8 += utf8Of(items[i]);
        utf8 += ' ';
        if (i % 8 == 7) utf8 += "\r\n";
    }
    return gbk(utf8);
}

TEST(PixelsOfPoints, PointsAtNinetySixDotsPerInch) {
    EXPECT_EQ(look::pixelsOfPoints(9), 12);
    EXPECT_EQ(look::pixelsOfPoints(11), 15);
    EXPECT_EQ(look::pixelsOfPoints(26), 35);
}

TEST(LayoutCells, GridItemsFallInTheRowsAndColumnsTheHoverReads) {
    // 30 single characters in the grid's label: 416 pixels wide, 26 points.
    const std::u32string items = U"地块场土坏增城境墙堆均培域埋坡坑壤塘堵坦盐堤填塔坟垃圾垮墩埃";
    const int em = look::pixelsOfPoints(26);
    const TextLayout layout = layoutCells(gridOf(items), em, 416, true);

    // Row bands of the hover (mouse y over the label) and column edges
    // E1..E8 for single characters (16 x 3 x k).
    auto rowOf = [](double y) {
        if (y < 44) return 1;
        if (y > 66 && y < 120) return 2;
        if (y > 120 && y < 190) return 3;
        if (y > 195) return 4;
        return 0;
    };
    auto columnOf = [](double x) {
        for (int c = 1; c <= 8; ++c)
            if (x > 48.0 * (c - 1) && x < 48.0 * c + (c == 8 ? 20 : 0)) return c;
        return 0;
    };
    int item = 0;
    for (const PlacedChar& ch : layout.chars) {
        if (ch.code == U' ') continue;
        ASSERT_LT(item, 30);
        const double centreX = ch.x + em / 2.0, centreY = ch.line * em + em / 2.0;
        EXPECT_EQ(rowOf(centreY), item / 8 + 1) << "item " << item + 1;
        EXPECT_EQ(columnOf(centreX), item % 8 + 1) << "item " << item + 1;
        EXPECT_EQ(ch.code, items[static_cast<size_t>(item)]);
        ++item;
    }
    EXPECT_EQ(item, 30);
}

TEST(LayoutCells, StripCharactersAndWordsFallInTheirSlots) {
    // Character layout at 11 points: slot k picks between these bounds.
    const double charSlots[18][2] = {{0, 14},    {23, 38},   {46, 62},   {70, 84},   {90, 107},  {114, 130},
                                     {138, 152}, {158, 176}, {182, 200}, {207, 222}, {230, 246}, {252, 266},
                                     {276, 292}, {298, 314}, {320, 336}, {346, 360}, {366, 384}, {390, 406}};
    std::string strip;
    for (int k = 0; k < 18; ++k) strip += gbk("一 ");
    const int em11 = look::pixelsOfPoints(11);
    const TextLayout chars = layoutCells(strip, em11, 415, true);
    ASSERT_EQ(chars.chars.size(), 36u);
    for (int k = 0; k < 18; ++k) {
        const PlacedChar& ch = chars.chars[static_cast<size_t>(2 * k)];
        const double centre = ch.x + em11 / 2.0;
        EXPECT_GT(centre, charSlots[k][0]) << "slot " << k;
        EXPECT_LT(centre, charSlots[k][1]) << "slot " << k;
        EXPECT_EQ(ch.line, 0);
    }

    // Word layout at 9 points: both characters of word k inside its range.
    const double wordSlots[8][2] = {{0, 24},    {26, 56},   {56, 84},   {86, 118},
                                    {120, 148}, {150, 178}, {180, 208}, {210, 238}};
    std::string words;
    for (int k = 0; k < 8; ++k) words += gbk("地方 ");
    const int em9 = look::pixelsOfPoints(9);
    const TextLayout w = layoutCells(words, em9, 415, true);
    for (int k = 0; k < 8; ++k) {
        const double left = w.chars[static_cast<size_t>(3 * k)].x;
        const double right = w.chars[static_cast<size_t>(3 * k + 1)].x + em9;
        EXPECT_GE(left + 2, wordSlots[k][0]) << "word " << k;
        EXPECT_LE((left + right) / 2, wordSlots[k][1]) << "word " << k;
        EXPECT_GT((left + right) / 2, wordSlots[k][0]) << "word " << k;
    }
}

TEST(LayoutCells, TheInformationStripBeginsRightOfTheSubjectBox) {
    // Seven blanks at 9 points clear the 40 pixels of the subject box.
    const TextLayout l = layoutCells(gbk("       拼音: [ "), look::pixelsOfPoints(9), 429, false);
    EXPECT_GE(l.chars[7].x, 40);
}

TEST(LayoutCells, HalfWidthsRoundUpToWholePixels) {
    const TextLayout l = layoutCells(gbk("a一b"), 15, 100, false);
    EXPECT_EQ(l.chars[1].x, 8);
    EXPECT_EQ(l.chars[2].x, 23);
}

TEST(LayoutCells, WrapsAfterTheLastBlankThatFits) {
    // A box 8 half-widths wide: "ab cdef gh" breaks after "cdef ".
    const TextLayout l = layoutCells("ab cdef gh", 2, 8, true);
    ASSERT_EQ(l.chars.size(), 10u);
    EXPECT_EQ(l.chars[7].line, 0);  // the blank after cdef stays
    EXPECT_EQ(l.chars[8].line, 1);  // g
    EXPECT_EQ(l.chars[8].x, 0);
    EXPECT_EQ(l.lines, 2);
}

TEST(LayoutCells, AWordLongerThanTheBoxBreaksInside) {
    const TextLayout l = layoutCells("abcdefgh", 2, 5, true);
    EXPECT_EQ(l.chars[4].line, 0);
    EXPECT_EQ(l.chars[5].line, 1);
    EXPECT_EQ(l.chars[5].x, 0);
}

TEST(LayoutCells, WithoutWrappingOnlyLineBreaksStartLines) {
    const TextLayout l = layoutCells("abcdef\r\ngh\ni", 2, 3, false);
    EXPECT_EQ(l.lines, 3);
    EXPECT_EQ(l.chars[5].line, 0);
    EXPECT_EQ(l.chars[5].x, 5);
    EXPECT_EQ(l.chars[6].line, 1);
    EXPECT_EQ(l.chars[8].line, 2);
}

TEST(LayoutCells, FeBlockAndFourByteCharactersAreFullWidth) {
    const TextLayout l = layoutCells("\xFE\x51" "a\x95\x32\x82\x36" "b\xB9", 2, 100, false);
    ASSERT_EQ(l.chars.size(), 5u);
    EXPECT_EQ(l.chars[0].code, U'\U00020087');
    EXPECT_EQ(l.chars[0].cells, 2);
    EXPECT_EQ(l.chars[1].x, 2);
    EXPECT_EQ(l.chars[2].code, U'\U00020000');
    EXPECT_EQ(l.chars[3].x, 5);
    EXPECT_EQ(l.chars[4].code, U'\uFFFD');  // a lead byte cut off at the end
    EXPECT_EQ(l.chars[4].cells, 1);
}

}  // namespace
}  // namespace lumiko::desktop

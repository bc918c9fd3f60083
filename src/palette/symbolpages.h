// The eleven built-in symbol pages of the palette. Each page lists the grid
// rows it fills; a row text holds the row's symbols in column order, each
// followed by the separator "\)". An empty item is an empty cell, so a row
// may start its symbols in a later column. Rows a page does not list stay
// empty.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "engine/gbktext.h"

namespace lumiko::symbols {

struct SymbolRow {
    int row;                // grid row, 0 … 9
    std::string_view text;  // GBK, "\)"-separated
};

struct SymbolPage {
    std::string_view name;  // the caption of its palette button
    std::span<const SymbolRow> rows;
};

inline constexpr int kPageCount = 11;
inline constexpr std::string_view kSeparator = "\\)";

// 0 字母, 1 标点符号, 2 数学符号, 3 数字符号, 4 单位符号, 5 特殊符号,
// 6 希腊字母, 7 拼音注音, 8 平假名, 9 片假名, 10 俄文字母.
std::span<const SymbolPage> pages();

// The items of a row text, split on the separator; the item after the last
// separator is part of the result (usually empty).
std::vector<Text> splitRow(std::string_view rowText);

}  // namespace lumiko::symbols

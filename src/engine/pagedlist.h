// One paged candidate list: the grid and the word-hint strip are two of them,
// differing only in their page size, their separators and where they keep
// their state.
#pragma once

#include <string_view>
#include <vector>

#include "engine/gbktext.h"
#include "engine/sharedtext.h"

namespace lumiko {

struct PageLayout {
    int perPage;   // items on one page
    bool rows;     // " \r\n" after the 8th, 16th and 24th item
};

struct PageState {
    Text& text;                  // the text shown (grid or strip caption)
    int& searchPos;              // "\r\n" in front of the line that opens the next page, or -1
    int& pageIndex;              // page shown minus one
    std::vector<Text>& history;  // pages 2, 3, … built since the last new search
};

// Builds one page into `text` (appending to it) from the first line at or
// after position `from` whose key begins with `code`: up to perPage items,
// each a line's value, skipping a line whose value followed by the rest of
// its key already stands on the page. `searchPos` ends on the line that opens
// the next page, or -1. Its work does not grow with repeated lines.
void buildPage(const SharedText& table, std::string_view code, const PageLayout& layout, Text& text,
               int& searchPos, int from);
// The same page found by reading every matching line in turn: the plain
// form of buildPage, which it must always equal.
void buildPageLineByLine(const SharedText& table, std::string_view code, const PageLayout& layout,
                         Text& text, int& searchPos, int from);

// Runs one call of a paged list: paging 0 is a new search, otherwise the next
// page (backward 0) or the previous one.
void runPagedList(const SharedText& table, std::string_view code, const PageLayout& layout,
                  PageState state, int paging, int backward);

}  // namespace lumiko

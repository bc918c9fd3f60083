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

// One line of a table read at the "\r\n" that precedes it (p, from 1): its key
// field and value field. False for a line outside the format (no line end
// within 200 bytes, no space, or an empty value), which the lists skip.
bool readTableLine(std::string_view table, int p, std::string_view& key, std::string_view& value);

// Runs one call of a paged list: paging 0 is a new search, otherwise the next
// page (backward 0) or the previous one.
void runPagedList(const SharedText& table, std::string_view code, const PageLayout& layout,
                  PageState state, int paging, int backward);

}  // namespace lumiko

// One paged candidate list: the grid and the word-hint strip are two of them,
// differing only in their page size and where they keep their state. A page
// is a list of candidates; the presentation draws it.
#pragma once

#include <string_view>
#include <vector>

#include "engine/candidates.h"
#include "engine/gbktext.h"
#include "engine/sharedtext.h"

namespace lumiko {

// The paging state of one list.
struct PagedList {
    int searchPos = 0;                   // "\r\n" in front of the line that opens the next page, or -1
    int pageIndex = 0;                   // page shown minus one
    std::vector<CandidateList> history;  // pages 2, 3, … built since the last new search
    // With a reordering step: the whole list in its order, paged from here
    // instead of from the table.
    bool reordered = false;
    CandidateList ordered;
};

// Builds one page into `items` (appending to them) from the first line at or
// after position `from` whose key begins with `code`: up to perPage items,
// each a line's value with the line's key, skipping a line whose value
// followed by the rest of its key already stands in an item of the page.
// `searchPos` ends on the line that opens the next page, or -1. Its work
// does not grow with repeated lines.
void buildPage(const SharedText& table, std::string_view code, int perPage, CandidateList& items, int& searchPos,
               int from);
// The same page found by reading every matching line in turn: the plain
// form of buildPage, which it must always equal.
void buildPageLineByLine(const SharedText& table, std::string_view code, int perPage, CandidateList& items,
                         int& searchPos, int from);

// Runs one call of a paged list: paging 0 is a new search, otherwise the next
// page (backward 0) or the previous one. `shown` is the page on show; a call
// that finds no page to go to leaves it as it is. With `order`, a new search
// for a code it reorders gathers the whole list, puts it in order and pages
// that; paging back and forth then shows the same pages. Returns whether
// another page (or none, for an empty code) was put on show.
bool runPagedList(const SharedText& table, std::string_view code, int perPage, PagedList& list,
                  CandidatePage& shown, int paging, int backward, const CandidateOrder* order = nullptr);

}  // namespace lumiko

// The whole global state of the panel. Everything is zero or empty when the
// program is loaded; start-up fills the tables.
#pragma once

#include <array>
#include <vector>

#include "engine/candidates.h"
#include "engine/gbktext.h"
#include "engine/pagedlist.h"
#include "engine/sharedtext.h"

namespace lumiko {


struct Globals {
    int picksSinceStroke = 0;
    int commitsInRow = 0;
    Text searchCode;
    SharedText searchTable;
    SharedText associationTable;
    PagedList gridList;   // the grid's paging: page shown, page history, next line
    CandidatePage gridPage;  // what the grid shows; its caption is drawn from it
    int singleDigitState = 0;
    Text firstCandidate;
    std::array<int, 9> wordEdges{};
    std::array<int, 30> blankPositions{};
    int codeActive = 0;
    Text pickedText;
    // The list kind (see engine/pickmemory.h) and key of the candidate just
    // picked, until the commit that it starts; 0 for a text from elsewhere.
    char pickedList = 0;
    Text pickedKey;
    char gridListKind = 0;  // the kind of list the grid shows; 0 for the start lists
    SharedText lookupTable;
    SharedText strokeTable;
    SharedText extraStrokeTable;
    SharedText fourCornerTable;
    SharedText dictionaryText;
    Text dictionaryName;
    PagedList stripList;     // the strip's paging of components
    CandidatePage stripPage;    // what the strip shows: components, words or the basic strokes
    bool stripPaged = false;    // the strip shows a page of stripList (drawn with one more blank)
    SharedText hintTable;
    int padOpenPending = 0;
    Text pendingListText;
    Text pendingHandwriting;
};

}  // namespace lumiko

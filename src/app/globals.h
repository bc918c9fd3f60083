// The whole global state of the panel. Everything is zero or empty when the
// program is loaded; start-up fills the tables.
#pragma once

#include <array>
#include <vector>

#include "engine/gbktext.h"
#include "engine/sharedtext.h"

namespace lumiko {


struct Globals {
    int picksSinceStroke = 0;
    int commitsInRow = 0;
    Text searchCode;
    SharedText searchTable;
    SharedText associationTable;
    int pageIndex = 0;
    std::vector<Text> pageTexts;
    int searchPos = 0;
    int singleDigitState = 0;
    Text firstCandidate;
    std::array<int, 9> wordEdges{};
    std::array<int, 30> blankPositions{};
    int codeActive = 0;
    Text pickedText;
    SharedText lookupTable;
    SharedText strokeTable;
    SharedText extraStrokeTable;
    SharedText fourCornerTable;
    SharedText dictionaryText;
    Text dictionaryName;
    int hintPageIndex = 0;
    std::vector<Text> hintPages;
    int hintSearchPos = 0;
    SharedText hintTable;
    int padOpenPending = 0;
    Text pendingListText;
    Text pendingHandwriting;
};

}  // namespace lumiko

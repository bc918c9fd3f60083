// The whole global state of the panel. Everything is zero or empty when the
// program is loaded; start-up fills the tables.
#pragma once

#include <array>
#include <vector>

#include "engine/gbktext.h"

namespace lumiko {

struct Globals {
    int picksSinceStroke = 0;
    int commitsInRow = 0;
    Text searchCode;
    Text searchTable;
    Text associationTable;
    int pageIndex = 0;
    std::vector<Text> pageTexts;
    int searchPos = 0;
    int singleDigitState = 0;
    Text firstCandidate;
    std::array<int, 9> wordEdges{};
    std::array<int, 30> blankPositions{};
    int codeActive = 0;
    Text pickedText;
    Text lookupTable;
    Text strokeTable;
    Text extraStrokeTable;
    Text fourCornerTable;
    Text dictionaryText;
    Text dictionaryName;
    int hintPageIndex = 0;
    std::vector<Text> hintPages;
    int hintSearchPos = 0;
    Text hintTable;
    int padOpenPending = 0;
    Text pendingListText;
    Text pendingHandwriting;
};

}  // namespace lumiko

// The whole global state of the panel. Everything is zero or empty when the
// program is loaded; start-up fills the tables.
#pragma once

#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/gbktext.h"

namespace lumiko {

// A table text: copied by reference, since the panel hands whole tables
// around on every click ("searchTable := a copy of strokeTable") and the
// tables are never changed after loading.
class SharedText {
public:
    SharedText() : p_(emptyText()) {}
    SharedText(Text t) : p_(std::make_shared<const Text>(std::move(t))) {}
    SharedText(const char* t) : SharedText(Text(t)) {}
    const Text& str() const { return *p_; }
    operator std::string_view() const { return *p_; }
    std::size_t size() const { return p_->size(); }
    bool empty() const { return p_->empty(); }

private:
    static const std::shared_ptr<const Text>& emptyText() {
        static const auto e = std::make_shared<const Text>();
        return e;
    }
    std::shared_ptr<const Text> p_;
};

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

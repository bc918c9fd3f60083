#pragma once

#include <array>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/gbktext.h"

namespace lumiko {

// Where each line of a table starts: the positions (from 1) of every "\r\n",
// grouped by the first one and two bytes that follow it, in table order.
class LineIndex {
public:
    explicit LineIndex(std::string_view text);
    // The first position at or after `from` where "\r\n" + code stands in
    // `text`, or -1: what findText(text, "\r\n" + code, from) gives.
    int find(std::string_view text, std::string_view code, int from) const;

private:
    std::array<std::vector<int>, 256> byByte_;
    std::unordered_map<unsigned, std::vector<int>> byPair_;
};

// A table text: copied by reference, since the panel hands whole tables
// around on every click ("searchTable := a copy of strokeTable") and the
// tables are never changed after loading. Each keeps its own line index,
// made on first use, so that a search does not walk the whole table.
class SharedText {
public:
    SharedText() : p_(emptyBody()) {}
    SharedText(Text t) : p_(std::make_shared<const Body>(std::move(t))) {}
    SharedText(const char* t) : SharedText(Text(t)) {}
    const Text& str() const { return p_->text; }
    operator std::string_view() const { return p_->text; }
    std::size_t size() const { return p_->text.size(); }
    bool empty() const { return p_->text.empty(); }

    // findText(*this, "\r\n" + code, from), through the line index.
    int findLine(std::string_view code, int from) const;
    // Makes the line index now rather than at the first search.
    void prepareIndex() const;

private:
    struct Body {
        explicit Body(Text t) : text(std::move(t)) {}
        Text text;
        mutable std::unique_ptr<LineIndex> index;
    };
    static const std::shared_ptr<const Body>& emptyBody() {
        static const auto e = std::make_shared<const Body>(Text());
        return e;
    }
    std::shared_ptr<const Body> p_;
};

}  // namespace lumiko

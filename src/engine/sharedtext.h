#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/gbktext.h"

namespace lumiko {

// One line of a table read at the "\r\n" that precedes it (p, from 1): its key
// field and value field. False for a line outside the format (no line end
// within 200 bytes, no space, an empty value, or a key or value that is not
// whole GBK characters), which the lists skip.
bool readTableLine(std::string_view table, int p, std::string_view& key, std::string_view& value);

// The lines that begin with one byte, in table order, with what the page
// builder needs to pass over repeated lines without reading them: lines
// repeat each other when readTableLine gives them the same key and value.
struct LineGroup {
    std::vector<int> at;        // position (from 1) of the "\r\n" in front of each line
    std::vector<int> blockMin;  // the least prevOf() of each run of kBlock lines

    static constexpr int kBlock = 64;
    // The index of the previous line with the same key and value, or -1; a
    // line outside the format holds its own index.
    int prevOf(int k) const { return linkOf(prevs_, k); }
    // The index of the next line with the same key and value, or -1.
    int nextOf(int k) const { return linkOf(nexts_, k); }
    // The first index at or after k whose line does not repeat one at or
    // after index `since` (prevOf < since), or -1.
    int nextUnrepeated(int k, int since) const;

private:
    friend class LineIndex;
    // Tables seldom repeat a line: only the links that are not -1 are kept,
    // as (index, link) sorted by index.
    using Links = std::vector<std::pair<int, int>>;
    static int linkOf(const Links& links, int k);
    Links prevs_, nexts_;
};

// Where each line of a table starts: the positions (from 1) of every "\r\n",
// grouped by the first one and two bytes that follow it, in table order.
class LineIndex {
public:
    explicit LineIndex(std::string_view text);
    // The first position at or after `from` where "\r\n" + code stands in
    // `text`, or -1: what findText(text, "\r\n" + code, from) gives.
    int find(std::string_view text, std::string_view code, int from) const;
    const LineGroup& group(unsigned char first) const { return byByte_[first]; }
    // The lines (the position from 1 of the "\r\n" in front of each) that
    // begin with the first byte, or the first two bytes, of `code` (not
    // empty), in table order.
    const std::vector<int>& linesOf(std::string_view code) const;

private:
    std::array<LineGroup, 256> byByte_;
    std::unordered_map<unsigned, std::vector<int>> byPair_;
};

enum class CodeChars { Digits, Letters };

// The reverse lookup of a table: for each value, the codes of the lines that
// are exactly 1 to 20 code characters ("0"-"9" or "a"-"z"), one blank and
// that value, in table order, each code followed by one blank. Lines end at
// every '\r' or '\n', and the first line counts.
class CodeIndex {
public:
    CodeIndex(std::string_view text, CodeChars chars);
    // The codes of `value`; empty when no line holds it. `text` is the text
    // the index was made from; the answer is in `scratch` or in the index.
    std::string_view codesOf(std::string_view text, std::string_view value, Text& scratch) const;

private:
    // Each matching line's start and the length of its value, sorted by
    // value, lines of one value in table order: eight bytes a line, the
    // codes and values read from the text itself.
    struct Line {
        std::uint32_t at;
        std::uint32_t valueSize;
    };
    std::vector<Line> lines_;
    // The codes of the values held by many lines (a table that repeats a
    // line thousands of times), joined once, by the index of their first line.
    static constexpr size_t kJoinedRun = 32;
    std::vector<std::pair<size_t, Text>> joined_;
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
    const LineIndex& index() const {
        prepareIndex();
        return *p_->index;
    }
    // Whether the line index is made.
    bool indexed() const { return p_->index != nullptr; }
    // CodeIndex(*this, chars).codesOf(value), the index made once.
    Text codesOf(const Text& value, CodeChars chars) const;
    // The same, without a copy where the index holds the answer.
    std::string_view codesOf(const Text& value, CodeChars chars, Text& scratch) const;
    void prepareCodeIndex(CodeChars chars) const;

private:
    struct Body {
        explicit Body(Text t) : text(std::move(t)) {}
        Text text;
        mutable std::unique_ptr<LineIndex> index;
        mutable std::array<std::unique_ptr<CodeIndex>, 2> codes;
    };
    static const std::shared_ptr<const Body>& emptyBody() {
        static const auto e = std::make_shared<const Body>(Text());
        return e;
    }
    std::shared_ptr<const Body> p_;
};

}  // namespace lumiko

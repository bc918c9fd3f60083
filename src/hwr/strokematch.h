// Matching a drawn stroke-class sequence against the stroke codes of every
// GBK character (the panel's stroke table, built into the recogniser).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lumiko::hwr {

// How far a drawn class sequence is from a character's stroke code, in
// strokes: 0 for the same sequence, 1 for a stroke too many, too few or of
// another class, less for the usual confusions of a hand (a dot taken for a
// left-falling stroke, a turn missed or drawn where there is none, a turning
// stroke drawn as two). Both are strings of '1' to '5'.
double strokeDistance(std::string_view drawn, std::string_view code);

// The same, but once it is sure to be more than `limit`, it stops and
// answers some number above `limit`.
double boundedStrokeDistance(std::string_view drawn, std::string_view code, double limit);

struct StrokeMatch {
    std::string character;  // UTF-8
    double distance = 0;
    uint32_t rank = 0;  // the character's place in the table: most frequent first
};

// Characters by their stroke codes, indexed by stroke count. Immutable once
// made: may be read from any thread.
class StrokeIndex {
public:
    // Lines "CODE CHARACTER" (UTF-8, CR LF or LF), most frequent first; a
    // character may have several lines (other stroke orders). Lines that do
    // not have that form are skipped.
    explicit StrokeIndex(std::string_view table);
    StrokeIndex(const StrokeIndex&) = delete;  // holds views into itself
    StrokeIndex& operator=(const StrokeIndex&) = delete;
    // The table built into the program (every GBK character), made at the
    // first call.
    static const StrokeIndex& builtin();

    // The `count` nearest characters to `drawn`, nearest first (ties: the
    // more frequent first). Characters more than `maxDistance` away are left out.
    std::vector<StrokeMatch> nearest(std::string_view drawn, size_t count, double maxDistance = 3) const;
    // The distance of one character (UTF-8) to `drawn`; a negative number
    // when the table does not have it.
    double distanceOf(std::string_view character, std::string_view drawn) const;
    // The character's stroke codes (several for other stroke orders); none
    // when the table does not have it.
    std::vector<std::string_view> codesOf(std::string_view character) const;
    // The character's place in the table (most frequent first), or the
    // number of characters when it is not there.
    uint32_t rankOf(std::string_view character) const;
    size_t size() const { return characters_.size(); }

private:
    struct Entry {
        std::string_view code;
        uint32_t character;  // index into characters_
    };
    std::vector<std::string> characters_;
    std::unordered_map<std::string_view, uint32_t> byCharacter_;  // views into characters_
    std::vector<std::vector<Entry>> byLength_;                    // by stroke count
    std::vector<std::vector<std::string_view>> codesOf_;          // by character
    std::string text_;                                            // the codes' storage
};

}  // namespace lumiko::hwr

// Turns the byte-at-a-time hand-over of the core into whole characters: the
// core delivers a GBK text one byte per call, lead byte first, and the
// receiving side has to put each character together again before it can be
// typed as one key.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumiko::desktop {

class CharComposer {
public:
    // Feeds one byte meant for `window`; returns the characters (Unicode code
    // points) completed by it, usually none or one. A byte for another window
    // than the one before drops an unfinished character. A byte that cannot
    // continue the character begun drops that beginning and starts afresh,
    // so one stray byte never swallows the text after it.
    std::vector<char32_t> feed(std::uint64_t window, unsigned char byte);

    // Bytes held for an unfinished character.
    bool pending() const { return !buffer_.empty(); }

private:
    std::vector<char32_t> startWith(unsigned char byte);

    std::uint64_t window_ = 0;
    std::string buffer_;
};

// The code point of the first character of a UTF-8 text, or 0 when it does
// not begin with a whole valid sequence.
char32_t firstCodePoint(const std::string& utf8);

}  // namespace lumiko::desktop

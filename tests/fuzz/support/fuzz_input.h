// Reads a fuzzer's input as sections (separated by the two bytes FF FF, which
// no GBK text holds) and as a stream of choices, so that one input can carry
// tables, a code and a sequence of events.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumiko::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    // The bytes up to the next FF FF (or the end); empty once exhausted.
    std::string section() {
        const std::size_t end = rest_.find("\xff\xff");
        std::string s(rest_.substr(0, end));
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 2);
        return s;
    }

    bool empty() const { return rest_.empty(); }

    // A choice from 0 to bound - 1 taken from the next byte(s); 0 once exhausted.
    std::uint32_t next(std::uint32_t bound) {
        if (bound <= 1) return 0;
        std::uint32_t v = 0;
        for (std::uint32_t range = 1; range < bound && !rest_.empty(); range <<= 8) {
            v = (v << 8) | static_cast<unsigned char>(rest_.front());
            rest_.remove_prefix(1);
        }
        return v % bound;
    }

    // Up to `max` raw bytes, the count taken from the next byte.
    std::string bytes(std::size_t max) {
        const std::size_t n = std::min<std::size_t>(next(static_cast<std::uint32_t>(max) + 1), rest_.size());
        std::string s(rest_.substr(0, n));
        rest_.remove_prefix(n);
        return s;
    }

private:
    std::string_view rest_;
};

// Splits a text at "\r\n" into its lines (the last one may be empty).
inline std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (;;) {
        const std::size_t end = text.find("\r\n");
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) return lines;
        text.remove_prefix(end + 2);
    }
}

}  // namespace lumiko::fuzz

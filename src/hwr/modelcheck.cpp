// The walk over a zinnia model file, with every read checked against its end.
#include "hwr/modelcheck.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace lumiko::hwr {

namespace {

// The marks of zinnia's model format (version 1): the first word is the
// file's size exclusive-or'ed with kMagic.
constexpr uint32_t kMagic = 0xef71821u;
constexpr uint32_t kVersion = 1;
constexpr size_t kNameBytes = 16;
constexpr size_t kFeatureBytes = 8;  // a 32-bit index and a float

// The file's numbers are little-endian, as zinnia writes and reads them.
uint32_t word(const unsigned char* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
float real(const unsigned char* p) {
    const uint32_t w = word(p);
    float f;
    std::memcpy(&f, &w, sizeof f);
    return f;
}

}  // namespace

std::string checkModel(const char* data, size_t size) {
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    if (!data || size < 12) return "the file is too short to be a handwriting model";
    if (size > UINT32_MAX || (word(p) ^ kMagic) != size)
        return "the file is damaged (its size is not the one its header records)";
    if (word(p + 4) != kVersion) return "the file is not a handwriting model of a known version";
    const uint32_t count = word(p + 8);
    if (count == 0) return "the model holds no characters";
    // Each character takes at least its name, its bias and an end mark.
    if (count > (size - 12) / (kNameBytes + 4 + kFeatureBytes))
        return "the file is damaged (it records more characters than it holds)";
    size_t at = 12;
    for (uint32_t i = 0; i < count; ++i) {
        const auto damaged = [&](const char* what) {
            return "the file is damaged: " + std::string(what) + " (character " + std::to_string(i + 1) + " of " +
                   std::to_string(count) + ")";
        };
        if (size - at < kNameBytes + 4 + kFeatureBytes) return damaged("it ends inside a character");
        const void* nul = std::memchr(p + at, '\0', kNameBytes);
        if (!nul || nul == p + at) return damaged("a character's name is empty or unterminated");
        at += kNameBytes;
        if (!std::isfinite(real(p + at))) return damaged("a weight is not a number");
        at += 4;
        int64_t previous = -1;
        for (;;) {
            if (size - at < kFeatureBytes) return damaged("a feature list has no end mark");
            const auto index = static_cast<int32_t>(word(p + at));
            const float value = real(p + at + 4);
            at += kFeatureBytes;
            if (index == -1) break;
            if (index <= previous) return damaged("a feature list is out of order");
            if (!std::isfinite(value)) return damaged("a weight is not a number");
            previous = index;
        }
    }
    if (at != size) return "the file is damaged (bytes follow its last character)";
    return {};
}

}  // namespace lumiko::hwr

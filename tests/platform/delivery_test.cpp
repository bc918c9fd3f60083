#include "platform/delivery.h"

#include <gtest/gtest.h>

namespace lumiko {
namespace {

TEST(GbkCharacters, SplitsCommittedTextIntoWholeCharacters) {
    struct Case {
        std::string bytes;
        std::vector<std::string> expected;
    } cases[] = {
        {"a\xD6\xD0,", {"a", "\xD6\xD0", ","}},
        {"\xFE\x50\xFE\xA0", {"\xFE\x50", "\xFE\xA0"}},
        {"\x95\x32\x82\x36z", {"\x95\x32\x82\x36", "z"}},
        // A lead byte that cannot be ended drops, the next byte stands.
        {"\xB9,", {","}},
        {"\xB9\x7F", {"\x7F"}},
        {"\xB9\x30" "a", {"a"}},
        {"\xB9\x30\x81" "a", {"a"}},
        {"\xB9", {}},
        {"\xB9\xB9\xFA", {"\xB9\xB9"}},  // the last lead byte waits for nothing
        {std::string("\x80\xFF\0b", 4), {std::string(1, '\0'), "b"}},
    };
    for (const auto& c : cases) EXPECT_EQ(gbkCharacters(c.bytes), c.expected) << c.bytes;
}

}  // namespace
}  // namespace lumiko

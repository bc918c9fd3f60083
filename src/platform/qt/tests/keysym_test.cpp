#include <gtest/gtest.h>

#include "platform/qt/x11input.h"

namespace lumiko::desktop {
namespace {

TEST(KeysymFor, LatinOneCharactersUseTheirOwnKeysyms) {
    EXPECT_EQ(keysymFor(U'a'), 0x61UL);
    EXPECT_EQ(keysymFor(U','), 0x2CUL);
    EXPECT_EQ(keysymFor(U' '), 0x20UL);
    EXPECT_EQ(keysymFor(U'é'), 0xE9UL);
}

TEST(KeysymFor, OtherCharactersUseTheUnicodeRange) {
    EXPECT_EQ(keysymFor(U'国'), 0x10056FDUL);
    EXPECT_EQ(keysymFor(U'。'), 0x1003002UL);
    EXPECT_EQ(keysymFor(U'\U00020087'), 0x1020087UL);
    // U+0100 is the first character above Latin-1; its keysym is not 0x100.
    EXPECT_EQ(keysymFor(U'\u0100'), 0x1000100UL);
}

TEST(KeysymFor, LineBreaksAndTabsAreTheirKeys) {
    EXPECT_EQ(keysymFor(U'\r'), 0xFF0DUL);
    EXPECT_EQ(keysymFor(U'\n'), 0xFF0DUL);
    EXPECT_EQ(keysymFor(U'\t'), 0xFF09UL);
    EXPECT_EQ(keysymFor(U'\b'), 0xFF08UL);
}

TEST(KeysymFor, OtherControlCharactersTypeNothing) {
    EXPECT_EQ(keysymFor(0), 0UL);
    EXPECT_EQ(keysymFor(0x07), 0UL);
    EXPECT_EQ(keysymFor(0x7F), 0UL);
    EXPECT_EQ(keysymFor(0x85), 0UL);
    EXPECT_EQ(keysymFor(0x110000), 0UL);
}

}  // namespace
}  // namespace lumiko::desktop

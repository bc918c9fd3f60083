// Simplified-to-traditional conversion of GBK texts.
#include <gtest/gtest.h>

#include <cstdlib>

#include "mapped.h"
#include "platform/posix/opencc.h"

namespace lumiko::posix {
namespace {

TEST(Traditional, ConvertsGbkTexts) {
    struct Case {
        Text in, out;
    };
    const Case cases[] = {
        {"国", "國"},
        {"中国", "中國"},
        {"汉字", "漢字"},
        {"一", "一"},
        {",", ","},
        {"a 国 b", "a 國 b"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(toTraditional(c.in), c.out) << c.in;
}

// In a process of its own (the test program run again for this test alone):
// OpenCC comes with the first conversion, not with the program.
TEST(Traditional, OpenccIsLoadedAtTheFirstConversion) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const bool before = testing::mapped("libopencc");
            const bool converted = toTraditional("国") == "國";
            std::exit(!before && converted && testing::mapped("libopencc") ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(Traditional, KeepsStrayBytesWhereTheyWere) {
    EXPECT_EQ(toTraditional("\x80国\xFF"), "\x80國\xFF");
    EXPECT_EQ(toTraditional(Text("国\0国", 5)), Text("國\0國", 5));
    EXPECT_EQ(toTraditional("国\xB9"), "國\xB9");  // a lead byte cut off at the end
}

}  // namespace
}  // namespace lumiko::posix

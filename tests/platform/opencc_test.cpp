// Simplified-to-traditional conversion of GBK texts.
#include <gtest/gtest.h>

#include "mapped.h"
#include "platform/posix/opencc.h"

namespace lumiko::posix {
namespace {

TEST(Traditional, ConvertsGbkTexts) {
    EXPECT_FALSE(testing::mapped("libopencc"));  // loaded at the first conversion
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
    EXPECT_TRUE(testing::mapped("libopencc"));
}

TEST(Traditional, KeepsStrayBytesWhereTheyWere) {
    EXPECT_EQ(toTraditional("\x80国\xFF"), "\x80國\xFF");
    EXPECT_EQ(toTraditional(Text("国\0国", 5)), Text("國\0國", 5));
    EXPECT_EQ(toTraditional("国\xB9"), "國\xB9");  // a lead byte cut off at the end
}

}  // namespace
}  // namespace lumiko::posix

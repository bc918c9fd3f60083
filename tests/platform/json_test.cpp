// The simulator's JSON: what is escaped and what is not.
#include <gtest/gtest.h>

#include "../../tools/sim/json.h"

namespace lumiko::sim {
namespace {

TEST(Json, EscapesQuotesBackslashesAndControlCharactersOnly) {
    struct Case {
        std::string in, out;
    };
    const Case cases[] = {
        {"", R"("")"},
        {"plain / text", R"("plain / text")"},
        {"a\"b", R"("a\"b")"},
        {"a\\b", R"("a\\b")"},
        {"\r\n\t", R"("\r\n\t")"},
        {std::string("\0\x01\x1f", 3), R"("\u0000\u0001\u001f")"},
        {"\x08\x0c\x7f", R"("\u0008\u000c\u007f")"},
        {"\xC2\x85", R"("\u0085")"},                                // C1 control
        {"\xC2\xA0\xE4\xB8\xAD\xF0\xA0\x82\x87", "\"\xC2\xA0\xE4\xB8\xAD\xF0\xA0\x82\x87\""},  // kept
        {"</script>", R"("</script>")"},
    };
    for (const auto& c : cases) EXPECT_EQ(jsonString(c.in), c.out);
}

TEST(Json, DecodesGbkWithReplacementCharacters) {
    EXPECT_EQ(jsonGbk("\xB9\xFA\r\n"), "\"\xE5\x9B\xBD\\r\\n\"");
    EXPECT_EQ(jsonGbk("\x80" "a"), "\"\xEF\xBF\xBD" "a\"");
    EXPECT_EQ(jsonGbk("\xFE\x51"), "\"\xF0\xA0\x82\x87\"");
}

TEST(Json, ArraysAndObjectsUseCommaSpaceAndColonSpace) {
    EXPECT_EQ(jsonArray({}), "[]");
    EXPECT_EQ(jsonArray({"1", "\"a\""}), R"([1, "a"])");
    EXPECT_EQ(jsonObject({{"visible", jsonBool(true)}, {"tip", jsonString("x")}}),
              R"({"visible": true, "tip": "x"})");
}

}  // namespace
}  // namespace lumiko::sim

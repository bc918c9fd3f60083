// The stroke classifier, the matcher's tolerance, and the combination with
// zinnia on characters drawn here by hand (not from any writing data set).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "hwr/combine.h"
#include "hwr/recogniser.h"
#include "hwr/strokeclass.h"
#include "hwr/strokematch.h"

namespace lumiko::hwr {
namespace {

// A stroke through the given corners, with a point every 10 units between
// them (as a mouse reports them), and optionally a zigzag of `wobble` units.
Stroke drawn(std::initializer_list<Point> corners, double wobble = 0) {
    Stroke s;
    const std::vector<Point> c(corners);
    s.push_back(c[0]);
    for (size_t i = 1; i < c.size(); ++i) {
        const double len = std::hypot(c[i].x - c[i - 1].x, c[i].y - c[i - 1].y);
        const int steps = std::max(1, static_cast<int>(len / 10));
        for (int k = 1; k <= steps; ++k) {
            const double side = (k % 2 ? wobble : -wobble);
            s.push_back({c[i - 1].x + (c[i].x - c[i - 1].x) * k / steps + side,
                         c[i - 1].y + (c[i].y - c[i - 1].y) * k / steps + side});
        }
    }
    return s;
}

TEST(StrokeClass, DrawnStrokes) {
    const struct {
        const char* what;
        Stroke stroke;
        char want;
    } cases[] = {
        {"horizontal", drawn({{200, 500}, {800, 490}}), '1'},
        {"horizontal, wobbly", drawn({{200, 500}, {800, 490}}, 12), '1'},
        {"horizontal from the right", drawn({{800, 500}, {200, 500}}), '1'},
        {"horizontal with a dip at its end", drawn({{200, 500}, {780, 490}, {800, 520}}), '1'},
        {"rising", drawn({{200, 700}, {600, 450}}), '1'},
        {"vertical", drawn({{500, 150}, {505, 850}}), '2'},
        {"vertical upwards", drawn({{500, 850}, {500, 150}}), '2'},
        {"vertical with a hook (亅)", drawn({{500, 150}, {500, 800}, {430, 740}}), '2'},
        {"vertical bending left (子)", drawn({{500, 150}, {500, 650}, {470, 760}, {380, 720}}), '2'},
        {"left-falling", drawn({{600, 150}, {450, 500}, {200, 800}}), '3'},
        {"long left-falling, steep at first (月)", drawn({{500, 150}, {495, 500}, {470, 700}, {350, 850}}), '3'},
        {"flat left-falling (禾)", drawn({{700, 150}, {300, 250}}), '3'},
        {"dot", drawn({{480, 300}, {530, 360}}), '4'},
        {"a click", drawn({{500, 500}, {505, 503}}), '4'},
        {"right-falling", drawn({{300, 200}, {550, 500}, {850, 700}}), '4'},
        {"right-falling with a flat tail", drawn({{300, 300}, {600, 500}, {850, 540}}), '4'},
        {"right-falling drawn backwards", drawn({{850, 700}, {300, 200}}), '4'},
        {"horizontal then down (横折)", drawn({{200, 200}, {700, 200}, {700, 700}}), '5'},
        {"down then across (竖折)", drawn({{300, 200}, {300, 700}, {800, 700}}), '5'},
        {"horizontal with a hook back (冖)", drawn({{200, 300}, {800, 300}, {700, 400}}), '5'},
        {"slanting hook (戈)", drawn({{250, 200}, {750, 800}, {800, 650}}), '5'},
        {"vertical with a foot to the right", drawn({{300, 200}, {300, 750}, {450, 650}}), '5'},
        {"left-falling then rising (纟)", drawn({{400, 200}, {250, 500}, {450, 480}}), '5'},
        {"horizontal, down, hook (横折钩)", drawn({{200, 200}, {700, 200}, {690, 750}, {600, 700}}), '5'},
        {"round turn (乚)", drawn({{300, 150}, {300, 600}, {330, 700}, {420, 760}, {800, 760}}), '5'},
    };
    for (const auto& c : cases) EXPECT_EQ(classifyStroke(c.stroke, 800), c.want) << c.what;
    EXPECT_EQ(classifyStroke({}, 800), '4');
    EXPECT_EQ(classifyStroke({{100, 100}}, 0), '4') << "a single point in a drawing without extent";
}

TEST(StrokeMatch, ToleratesTheUsualConfusions) {
    EXPECT_EQ(strokeDistance("2511", "2511"), 0);
    const struct {
        const char* drawn;
        const char* code;
    } lessThanOne[] = {
        {"3", "4"},          // a short dot drawn falling to the left
        {"2", "5"},          // a turn missed
        {"5", "2"},          // a turn where there is none
        {"2121", "251"},     // a turning stroke drawn as two
        {"251", "2121"},     // two strokes drawn in one go
        {"41534153121", "41534153124"},
    };
    for (const auto& c : lessThanOne) {
        EXPECT_EQ(boundedStrokeDistance(c.drawn, c.code, 1), strokeDistance(c.drawn, c.code));
        EXPECT_GT(strokeDistance(c.drawn, c.code), 0) << c.drawn << " " << c.code;
        EXPECT_LT(strokeDistance(c.drawn, c.code), 1) << c.drawn << " " << c.code;
    }
    EXPECT_EQ(strokeDistance("25111", "2511"), 1) << "a stroke too many";
    EXPECT_EQ(strokeDistance("251", "2511"), 1) << "a stroke too few";
    EXPECT_LT(strokeDistance("25114", "2511"), 1) << "an extra dot is a small slip";
    EXPECT_EQ(strokeDistance("", "12"), 2);
    EXPECT_GT(strokeDistance("1234", "4321"), 2) << "the order counts";
    EXPECT_GT(boundedStrokeDistance("1234", "4321", 1), 1) << "stopped early, still above the limit";
    EXPECT_GT(boundedStrokeDistance("5", "3434", 0.5), 0.5);
    EXPECT_EQ(strokeDistance(std::string(70, '1'), "1"), 69) << "longer than any character: by length";
}

TEST(StrokeIndex, ReadsTheTableAndFindsTheNearest) {
    const StrokeIndex index("251 口\r\n2511 日\nno code\n12x 十\n 25 \n2512 中\n2511 曰\n12 十\n21 十\n\n");
    EXPECT_EQ(index.size(), 5u);
    EXPECT_EQ(index.distanceOf("十", "21"), 0) << "another stroke order";
    EXPECT_EQ(index.distanceOf("十", "12"), 0);
    EXPECT_LT(index.distanceOf("人", "34"), 0) << "not in the table";
    EXPECT_EQ(index.rankOf("日"), 1u);
    EXPECT_EQ(index.rankOf("人"), 5u);
    const auto near = index.nearest("2511", 3);
    ASSERT_EQ(near.size(), 3u);
    EXPECT_EQ(near[0].character, "日") << "ties go to the more frequent";
    EXPECT_EQ(near[1].character, "曰");
    EXPECT_EQ(near[0].distance, 0);
    EXPECT_EQ(near[2].character, "中");
    EXPECT_GT(near[2].distance, 0);
    EXPECT_TRUE(index.nearest("1111111111", 5).empty()) << "nothing within reach";
    EXPECT_GT(StrokeIndex::builtin().size(), 20000u) << "every GBK character";
}

// Characters drawn by hand, roughly, as a user with a mouse would (人 so
// roughly that zinnia alone does not list it).
struct Written {
    const char* character;
    Strokes strokes;
};

std::vector<Written> handwritten() {
    return {
        {"十", {drawn({{200, 450}, {800, 450}}), drawn({{500, 150}, {500, 850}})}},
        {"人", {drawn({{500, 150}, {480, 400}, {400, 650}, {200, 850}}), drawn({{500, 420}, {620, 620}, {820, 850}})}},
        {"口",
         {drawn({{250, 250}, {260, 750}}), drawn({{250, 250}, {750, 250}, {740, 750}}),
          drawn({{260, 740}, {740, 740}})}},
        {"王",
         {drawn({{250, 200}, {750, 200}}), drawn({{250, 500}, {750, 500}}), drawn({{500, 200}, {500, 800}}),
          drawn({{200, 800}, {800, 800}})}},
    };
}

// 堃 (outside GB2312, so outside zinnia's model): two 方 over 土.
Strokes kun() {
    Strokes s;
    for (double dx : {0.0, 420.0}) {
        s.push_back(drawn({{280 + dx, 100}, {320 + dx, 160}}));
        s.push_back(drawn({{120 + dx, 210}, {460 + dx, 210}}));
        s.push_back(drawn({{230 + dx, 330}, {420 + dx, 330}, {400 + dx, 520}, {340 + dx, 500}}));
        s.push_back(drawn({{250 + dx, 220}, {230 + dx, 400}, {130 + dx, 540}}));
    }
    s.push_back(drawn({{300, 680}, {700, 680}}));
    s.push_back(drawn({{500, 600}, {500, 900}}));
    s.push_back(drawn({{150, 900}, {850, 900}}));
    return s;
}

TEST(Combination, HandwrittenCharacters) {
    Recogniser r(LUMIKO_HWR_MODEL);
    for (const Written& w : handwritten()) {
        EXPECT_EQ(strokeCode(w.strokes), StrokeIndex::builtin().codesOf(w.character).at(0)) << w.character;
        const auto got = r.recognise(w.strokes, 10);
        ASSERT_EQ(got.size(), 10u) << r.error();
        // Not always first: drawn to fill the pad, 口 is 囗 to the eye.
        const auto at = std::find(got.begin(), got.end(), w.character) - got.begin();
        EXPECT_LT(at, 3) << w.character;
        const auto shape = r.shapeCandidates(normaliseToBox(w.strokes), 50);
        const auto shapeAt = std::find_if(shape.begin(), shape.end(), [&](const auto& c) { return c.character == w.character; }) - shape.begin();
        EXPECT_LE(at, shapeAt) << w.character << ": no worse than zinnia alone";
    }
    // Nothing of zinnia's knows 堃; its strokes find it.
    const Strokes k = kun();
    EXPECT_EQ(strokeCode(k), "41534153121");
    const auto shapeOnly = r.shapeCandidates(normaliseToBox(k), 50);
    ASSERT_FALSE(shapeOnly.empty());
    EXPECT_TRUE(std::none_of(shapeOnly.begin(), shapeOnly.end(), [](const auto& c) { return c.character == "堃"; }));
    const auto got = r.recognise(k, 10);
    EXPECT_NE(std::find(got.begin(), got.end(), "堃"), got.end());
}

// zinnia's best guess loses to a candidate whose strokes fit; ties keep
// zinnia's order; what zinnia did not list joins from the stroke index.
TEST(Combination, WeighsShapeAgainstStrokes) {
    const StrokeIndex index("251 口\n2511 日\n2511 曰\n12 十\n34 人\n");
    const std::vector<ShapeCandidate> shape{{"口", 0.9}, {"日", 0.5}, {"人", 0.4}};
    const auto got = combine(shape, "2511", index, 10);
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0], "日");
    EXPECT_EQ(got[1], "曰") << "not listed by zinnia, but its strokes are exact";
    EXPECT_EQ(got[2], "口");
    EXPECT_EQ(combine(shape, "2511", index, 2).size(), 2u);
    EXPECT_EQ(combine({}, "34", index, 1), std::vector<std::string>{"人"}) << "strokes alone";
    // zinnia's silence says nothing of a character outside its model: of two
    // with the same strokes it did not list, that one comes first.
    const CharacterSet model{"口", "日", "人", "十"};
    EXPECT_EQ(combine(shape, "2511", index, 3, {}, &model)[1], "日") << "曰 is not in the model";
    const CharacterSet withoutYue{"口", "日", "人", "十", "曰"};
    const StrokeIndex twins("2511 曰\n2511 日\n");
    EXPECT_EQ(combine({{"口", 0.9}}, "2511", twins, 2, {}, &withoutYue)[0], "曰") << "the more frequent of two alike";
    const CharacterSet onlyYue{"口", "曰"};
    EXPECT_EQ(combine({{"口", 0.9}}, "2511", twins, 2, {}, &onlyYue)[0], "日") << "outside the model, above the unlisted";
}

}  // namespace
}  // namespace lumiko::hwr

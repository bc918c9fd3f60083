// The recogniser over a few characters written as stroke centre-lines
// (tests/hwr/samples.txt, from hanzi-writer-data): a floor that catches a
// broken pipeline, not an accuracy figure (that is make hwr-report).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>

#include "hwr/recogniser.h"
#include "samples.h"

namespace lumiko::hwr {
namespace {

std::vector<Sample> samples() { return readSamples(LUMIKO_HWR_SAMPLES); }

TEST(Recogniser, CleanCharactersComeBackFirst) {
    Recogniser r(LUMIKO_HWR_MODEL);
    EXPECT_FALSE(r.loaded()) << "the model is opened at the first recognition, not before";
    for (const Sample& s : samples()) {
        const auto got = r.recognise(s.strokes, 10);
        ASSERT_FALSE(got.empty()) << r.error();
        EXPECT_EQ(got[0], s.character);
        EXPECT_EQ(got.size(), 10u);
    }
}

// Written small in a corner, a character is still recognised: the drawing is
// normalised to its bounding box first.
TEST(Recogniser, SmallOffCentreWritingIsNormalised) {
    Recogniser r(LUMIKO_HWR_MODEL);
    for (const Sample& s : samples()) {
        Strokes small;
        for (const Stroke& stroke : s.strokes) {
            Stroke t;
            for (const Point& p : stroke) t.push_back({20 + p.x * 0.25, 700 + p.y * 0.25});
            small.push_back(t);
        }
        const auto got = r.recognise(small, 10);
        ASSERT_FALSE(got.empty());
        EXPECT_EQ(got[0], s.character);
    }
}

TEST(Recogniser, AMissingModelIsToldInWords) {
    Recogniser r("/nonexistent/handwriting.model");
    EXPECT_TRUE(r.recognise(samples()[0].strokes, 10).empty());
    EXPECT_FALSE(r.loaded());
    EXPECT_NE(r.error().find("/nonexistent/handwriting.model"), std::string::npos) << r.error();
}

// A model handed over in memory (the Windows panel maps it itself): the same
// candidates as zinnia's own opening; a reader's failure and bytes that are
// no model are told in words, with the path.
TEST(Recogniser, ModelFromAReader) {
    const Strokes strokes = samples()[0].strokes;
    const auto want = Recogniser(LUMIKO_HWR_MODEL).recognise(strokes, 10);
    ASSERT_FALSE(want.empty());
    const auto bytesOf = [](std::shared_ptr<const std::string> held) {
        return [held](const std::string&, std::string&) { return ModelBytes{held->data(), held->size(), held}; };
    };
    std::ifstream in(LUMIKO_HWR_MODEL, std::ios::binary);
    auto model = std::make_shared<const std::string>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    struct Case {
        ModelReader reader;
        bool opens;
        const char* reason;
    } cases[] = {
        {bytesOf(model), true, ""},
        {[](const std::string&, std::string& error) {
             error = "access is denied";
             return ModelBytes{};
         },
         false, "access is denied"},
        {bytesOf(std::make_shared<const std::string>(64, '\0')), false, "damaged"},
    };
    for (const Case& c : cases) {
        Recogniser r("/the/model/path", c.reader);
        const auto got = r.recognise(strokes, 10);
        EXPECT_EQ(r.loaded(), c.opens) << r.error();
        EXPECT_EQ(got, c.opens ? want : std::vector<std::string>{});
        if (!c.opens) {
            EXPECT_NE(r.error().find("/the/model/path"), std::string::npos) << r.error();
            EXPECT_NE(r.error().find(c.reason), std::string::npos) << r.error();
        }
    }
}

TEST(Recogniser, NoStrokesNoCandidates) {
    Recogniser r(LUMIKO_HWR_MODEL);
    EXPECT_TRUE(r.recognise({}, 10).empty());
}

TEST(NormaliseToBox, FillsTheMiddleAndKeepsTheAspect) {
    // A wide bar from (10,10) to (110,30): 100 by 20.
    const Strokes out = normaliseToBox({{{10, 10}, {110, 30}}});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_DOUBLE_EQ(out[0][0].x, 100);
    EXPECT_DOUBLE_EQ(out[0][1].x, 900);
    EXPECT_DOUBLE_EQ(out[0][0].y, 420);
    EXPECT_DOUBLE_EQ(out[0][1].y, 580);
    // A single dot goes to the middle.
    const Strokes dot = normaliseToBox({{{3, 4}}});
    EXPECT_DOUBLE_EQ(dot[0][0].x, 500);
    EXPECT_DOUBLE_EQ(dot[0][0].y, 500);
}

}  // namespace
}  // namespace lumiko::hwr

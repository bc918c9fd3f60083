// The pad service's answers: its script, recognitions, and clear refusals of
// every request it cannot or must not answer.
#include <gtest/gtest.h>

#include "hwr/padservice.h"

namespace lumiko::hwr {
namespace {

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The stroke list of a plain 十.
const std::string kCross = "[[20,100,180,100],[100,20,100,180]]";

TEST(PadService, ServesThePadScript) {
    Recogniser r(LUMIKO_HWR_MODEL);
    const PadReply reply = handlePadRequest("pad.js", "", r);
    EXPECT_TRUE(reply.found);
    EXPECT_EQ(reply.mimeType, "application/javascript");
    EXPECT_TRUE(has(reply.body, "function HandwritingPad("));
    EXPECT_TRUE(reply.refusal.empty());
    EXPECT_FALSE(r.loaded()) << "serving the pad does not open the model";
}

TEST(PadService, AnswersARecognitionWithTenCandidates) {
    Recogniser r(LUMIKO_HWR_MODEL);
    const PadReply reply = handlePadRequest("recognise", "n=7&s=" + kCross, r);
    ASSERT_TRUE(reply.found);
    EXPECT_TRUE(reply.refusal.empty()) << reply.refusal;
    // The candidates are written as ASCII escapes: 十 is \u5341.
    EXPECT_EQ(reply.body.rfind("HandwritingPad.answer(7,[\"\\u5341\",", 0), 0u) << reply.body;
    size_t quotes = 0;
    for (char c : reply.body) quotes += c == '"';
    EXPECT_EQ(quotes, 2 * kCandidates);
    // Percent-encoded stroke data reads the same.
    const PadReply encoded = handlePadRequest("recognise", "n=8&s=%5B%5B20%2C100%2C180%2C100%5D%2C%5B100,20,100,180%5D%5D", r);
    EXPECT_EQ(encoded.body.rfind("HandwritingPad.answer(8,[\"\\u5341\",", 0), 0u) << encoded.body;
}

TEST(PadService, RefusesBadStrokeDataInWords) {
    Recogniser r(LUMIKO_HWR_MODEL);
    std::string many = "[";
    for (int i = 0; i < 65; ++i) many += std::string(i ? "," : "") + "[1,2]";
    many += "]";
    std::string longStroke = "[[";
    for (int i = 0; i < 1001; ++i) longStroke += std::string(i ? "," : "") + "1,2";
    longStroke += "]]";
    const struct {
        std::string query, reason;
    } cases[] = {
        {"n=1&s=hello", "not JSON"},
        {"n=1&s=[[1,2,3,NaN]]", "not JSON"},
        {"n=1&s=[[1,2,3", "not JSON"},
        {"n=1&s={\"a\":1}", "not a list of strokes"},
        {"n=1&s=[]", "no strokes"},
        {"n=1&s=[[1,2,3]]", "not a list of x,y pairs"},
        {"n=1&s=[[]]", "not a list of x,y pairs"},
        {"n=1&s=[[1,2],5]", "not a list of x,y pairs"},
        {"n=1&s=[[1,\"2\"]]", "not a number"},
        {"n=1&s=[[1,-2]]", "negative"},
        {"n=1&s=[[1,1e999]]", "not JSON"},  // out of range: refused by the reader
        {"n=1&s=[[1,20000]]", "too large"},
        {"n=1&s=" + many, "too many strokes"},
        {"n=1&s=" + longStroke, "too many points"},
        {"n=1&s=[[" + std::string(40000, '1') + "]]", "too large"},
        {"n=1&s=%5B%ZZ", "not properly encoded"},
        {"n=1&s=%5", "not properly encoded"},
        {"n=1", "no stroke data"},
    };
    for (const auto& c : cases) {
        const PadReply reply = handlePadRequest("recognise", c.query, r);
        EXPECT_TRUE(reply.found) << c.query.substr(0, 60);
        EXPECT_TRUE(has(reply.refusal, c.reason)) << c.query.substr(0, 60) << " -> " << reply.refusal;
        EXPECT_EQ(reply.body.rfind("HandwritingPad.refuse(1,\"", 0), 0u) << reply.body;
    }
}

// Without a request number there is nobody to answer to, and nothing of the
// query may reach the script it would run: no answer at all.
TEST(PadService, RefusesRequestsItCannotAnswer) {
    Recogniser r(LUMIKO_HWR_MODEL);
    for (const std::string& q : {std::string("s=" + kCross), "n=&s=" + kCross, "n=alert(1)&s=" + kCross,
                                  "n=1234567890&s=" + kCross, "n=1);x(&s=" + kCross}) {
        const PadReply reply = handlePadRequest("recognise", q, r);
        EXPECT_FALSE(reply.found) << q;
        EXPECT_FALSE(reply.refusal.empty()) << q;
    }
    for (const char* path : {"", "pad.css", "../etc/passwd", "recognise/x"}) {
        const PadReply reply = handlePadRequest(path, "", r);
        EXPECT_FALSE(reply.found) << path;
        EXPECT_TRUE(has(reply.refusal, "there is no")) << path;
    }
}

TEST(PadService, AMissingModelIsARefusalThatNamesIt) {
    Recogniser r("/nonexistent/handwriting.model");
    const PadReply reply = handlePadRequest("recognise", "n=3&s=" + kCross, r);
    EXPECT_TRUE(has(reply.refusal, "/nonexistent/handwriting.model")) << reply.refusal;
    EXPECT_EQ(reply.body.rfind("HandwritingPad.refuse(3,", 0), 0u);
}

}  // namespace
}  // namespace lumiko::hwr

// The pad service: what the handwriting page's pad asks of the panel, and
// the answers, independent of the browser engine that carries them.
//
// The page loads everything from kPadAddress (a scheme the panel's browser
// view hands to the panel itself, no socket involved):
//   kPadAddress + "pad.js"                       the pad's script
//   kPadAddress + "recognise?n=ID&s=STROKES"     a recognition, answered as a
//       script that calls HandwritingPad.answer(ID, [candidates…]) or
//       HandwritingPad.refuse(ID, "reason"). Scripts are what every engine
//       loads from another address without asking (the page itself is a
//       file), in the old document modes too. STROKES is JSON, percent-
//       encoded: [[x,y,x,y,…],…], one array of pad pixels per stroke.
#pragma once

#include <string>
#include <string_view>

#include "hwr/recogniser.h"
#include "hwr/strokes.h"

namespace lumiko::hwr {

inline constexpr const char* kPadScheme = "lumiko-pad";
inline constexpr const char* kPadAddress = "lumiko-pad:/";

// What a request is limited to; anything larger is refused unread.
struct PadLimits {
    static constexpr size_t kQueryBytes = 32 * 1024;
    static constexpr size_t kStrokes = 64;
    static constexpr size_t kPointsPerStroke = 1000;
    static constexpr size_t kPoints = 4000;
    static constexpr double kCoordinate = 10000;  // pad pixels, from 0
};

// The result of reading a stroke list: the strokes, or why it was refused.
struct ParsedStrokes {
    Strokes strokes;
    std::string error;  // empty when the strokes are good
};
// Reads the JSON stroke list strictly: an array of at most kStrokes arrays,
// each of an even number of finite, non-negative numbers no larger than
// kCoordinate, within the point limits. Nothing else is accepted.
ParsedStrokes parseStrokes(std::string_view json);

struct PadReply {
    bool found = false;      // false: no such resource; the engine reports a failed load
    std::string mimeType;    // when found
    std::string body;        // UTF-8
    std::string refusal;     // why the request was refused, in words; empty when it was not
};

// Answers one request: `path` is the part of the address after kPadAddress,
// without the query; `query` is the raw (still percent-encoded) query.
PadReply handlePadRequest(std::string_view path, std::string_view query, Recogniser& recogniser);

// The number of candidates a recognition answers with.
constexpr size_t kCandidates = 10;

}  // namespace lumiko::hwr

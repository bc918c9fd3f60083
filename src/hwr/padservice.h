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
//
// A recognition runs on the service's own thread (PadService), never on the
// thread that carries the browser view, and its cost is bounded: each stroke
// reaches the recogniser as at most kStrokePoints points (keepShape), and a
// request over PadLimits is refused with its reason.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "hwr/recogniser.h"
#include "hwr/strokes.h"

namespace lumiko::hwr {

inline constexpr const char* kPadScheme = "lumiko-pad";
inline constexpr const char* kPadAddress = "lumiko-pad:/";

// What a request is limited to; anything larger is refused unread. The pad
// sends at most 1,800 characters of strokes; the most strokes a GBK
// character has is 48 (a few rare ones), everyday ones fewer than 30.
struct PadLimits {
    static constexpr size_t kQueryBytes = 32 * 1024;
    static constexpr size_t kStrokes = 48;
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

// A recognition the pad asked for, read and within the limits.
struct Recognition {
    std::string id;  // the pad's request number
    Strokes strokes;
};
// A request read: its answer when no recognition is needed (a script, a
// refusal, nothing found), or the recognition to run.
struct PadRequest {
    PadReply reply;
    std::optional<Recognition> recognition;
};

// Reads one request: `path` is the part of the address after kPadAddress,
// without the query; `query` is the raw (still percent-encoded) query.
PadRequest readPadRequest(std::string_view path, std::string_view query);
// Runs a recognition and writes its answer (or the recogniser's refusal).
PadReply answerRecognition(const Recognition& recognition, Recogniser& recogniser);
// Both, on the calling thread.
PadReply handlePadRequest(std::string_view path, std::string_view query, Recogniser& recogniser);

// The number of candidates a recognition answers with.
constexpr size_t kCandidates = 10;

// The pad's service with its own recognition thread, which alone owns the
// recogniser (zinnia's objects are not shared between threads). The thread
// starts with the first recognition.
class PadService {
public:
    // Called once per request with its reply: at once, on the calling thread,
    // for what needs no recognition (and for a refusal); on the service's
    // thread for a recognition. The front-end carries it back to its own.
    using Answer = std::function<void(PadReply)>;
    // How many recognitions may wait behind the one running: the pad wants
    // only its latest drawing read, so the oldest waiting one is refused
    // when another comes (the pad ignores answers to drawings it has left).
    static constexpr size_t kWaiting = 2;

    explicit PadService(std::string modelPath, ModelReader reader = nullptr);
    // Lets the recognition under way finish (its answer is called) and
    // refuses those still waiting; returns when the thread has ended.
    ~PadService();
    PadService(const PadService&) = delete;
    PadService& operator=(const PadService&) = delete;

    void request(std::string_view path, std::string_view query, Answer answer);

private:
    struct Job {
        Recognition recognition;
        Answer answer;
    };
    void run();

    Recogniser recogniser_;  // used on the service's thread only
    std::mutex lock_;
    std::condition_variable wake_;
    std::deque<Job> waiting_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace lumiko::hwr

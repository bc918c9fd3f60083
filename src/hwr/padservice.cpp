// The pad service's requests and answers.
#include "hwr/padservice.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>

namespace lumiko::embedded {
extern const unsigned char padScript[];
extern const std::size_t padScript_size;
}  // namespace lumiko::embedded

namespace lumiko::hwr {

namespace {

using nlohmann::json;

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Percent-decoding of a query value ('+' is a space); nullopt for a broken
// escape.
std::optional<std::string> decode(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '+') {
            out += ' ';
        } else if (s[i] == '%') {
            if (i + 2 >= s.size()) return std::nullopt;
            const int hi = hexDigit(s[i + 1]), lo = hexDigit(s[i + 2]);
            if (hi < 0 || lo < 0) return std::nullopt;
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The raw value of `key` in a query "a=1&b=2"; nullopt when it is missing.
std::optional<std::string_view> queryValue(std::string_view query, std::string_view key) {
    while (!query.empty()) {
        const size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        const size_t eq = pair.find('=');
        if (pair.substr(0, eq) == key) return eq == std::string_view::npos ? std::string_view() : pair.substr(eq + 1);
        if (amp == std::string_view::npos) break;
        query.remove_prefix(amp + 1);
    }
    return std::nullopt;
}

// A request number is what the pad counts with: 1 to 9 digits.
bool validId(std::string_view id) {
    if (id.empty() || id.size() > 9) return false;
    for (char c : id)
        if (c < '0' || c > '9') return false;
    return true;
}

// A JavaScript literal of a JSON value, ASCII only, so that it reads the
// same whatever charset the engine assumes for the script.
std::string literal(const json& value) { return value.dump(-1, ' ', true, json::error_handler_t::replace); }

PadReply script(std::string body) {
    PadReply r;
    r.found = true;
    r.mimeType = "application/javascript";
    r.body = std::move(body);
    return r;
}

PadReply refuse(std::string_view id, std::string reason) {
    PadReply r = script("HandwritingPad.refuse(" + std::string(id) + "," + literal(reason) + ");");
    r.refusal = std::move(reason);
    return r;
}

}  // namespace

ParsedStrokes parseStrokes(std::string_view text) {
    ParsedStrokes out;
    const json doc = json::parse(text, nullptr, false);
    if (doc.is_discarded()) return {{}, "the stroke data is not JSON"};
    if (!doc.is_array()) return {{}, "the stroke data is not a list of strokes"};
    if (doc.empty()) return {{}, "there are no strokes"};
    if (doc.size() > PadLimits::kStrokes) return {{}, "too many strokes"};
    size_t points = 0;
    for (const json& stroke : doc) {
        if (!stroke.is_array() || stroke.empty() || stroke.size() % 2 != 0)
            return {{}, "a stroke is not a list of x,y pairs"};
        if (stroke.size() / 2 > PadLimits::kPointsPerStroke) return {{}, "a stroke has too many points"};
        points += stroke.size() / 2;
        if (points > PadLimits::kPoints) return {{}, "too many points"};
        Stroke s;
        s.reserve(stroke.size() / 2);
        for (size_t i = 0; i < stroke.size(); i += 2) {
            const json& x = stroke[i];
            const json& y = stroke[i + 1];
            if (!x.is_number() || !y.is_number()) return {{}, "a coordinate is not a number"};
            const double vx = x.get<double>(), vy = y.get<double>();
            if (!std::isfinite(vx) || !std::isfinite(vy)) return {{}, "a coordinate is not finite"};
            if (vx < 0 || vy < 0) return {{}, "a coordinate is negative"};
            if (vx > PadLimits::kCoordinate || vy > PadLimits::kCoordinate) return {{}, "a coordinate is too large"};
            s.push_back({vx, vy});
        }
        out.strokes.push_back(std::move(s));
    }
    return out;
}

PadRequest readPadRequest(std::string_view path, std::string_view query) {
    if (path == "pad.js") {
        return {script(std::string(reinterpret_cast<const char*>(embedded::padScript), embedded::padScript_size)), {}};
    }
    if (path != "recognise") {
        PadReply r;
        r.refusal = "there is no " + std::string(path) + " here";
        return {r, {}};
    }
    // Without a valid request number there is no one to answer to.
    const auto id = queryValue(query, "n");
    if (!id || !validId(*id)) {
        PadReply r;
        r.refusal = "a recognition without a valid request number";
        return {r, {}};
    }
    if (query.size() > PadLimits::kQueryBytes) return {refuse(*id, "the stroke data is too large"), {}};
    const auto raw = queryValue(query, "s");
    if (!raw) return {refuse(*id, "there is no stroke data"), {}};
    const auto text = decode(*raw);
    if (!text) return {refuse(*id, "the stroke data is not properly encoded"), {}};
    ParsedStrokes parsed = parseStrokes(*text);
    if (!parsed.error.empty()) return {refuse(*id, parsed.error), {}};
    return {{}, Recognition{std::string(*id), std::move(parsed.strokes)}};
}

PadReply answerRecognition(const Recognition& recognition, Recogniser& recogniser) {
    const std::vector<std::string> candidates = recogniser.recognise(recognition.strokes, kCandidates);
    if (!recogniser.loaded()) return refuse(recognition.id, recogniser.error());
    return script("HandwritingPad.answer(" + recognition.id + "," + literal(candidates) + ");");
}

PadReply handlePadRequest(std::string_view path, std::string_view query, Recogniser& recogniser) {
    PadRequest request = readPadRequest(path, query);
    return request.recognition ? answerRecognition(*request.recognition, recogniser) : std::move(request.reply);
}

PadService::PadService(std::string modelPath, ModelReader reader) : recogniser_(std::move(modelPath), std::move(reader)) {}

PadService::~PadService() {
    std::deque<Job> left;
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
        left.swap(waiting_);
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
    for (Job& job : left) job.answer(refuse(job.recognition.id, "the handwriting service is closing"));
}

void PadService::request(std::string_view path, std::string_view query, Answer answer) {
    PadRequest request = readPadRequest(path, query);
    if (!request.recognition) {
        answer(std::move(request.reply));
        return;
    }
    std::optional<Job> dropped;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (!thread_.joinable()) thread_ = std::thread(&PadService::run, this);
        if (waiting_.size() >= kWaiting) {
            dropped = std::move(waiting_.front());
            waiting_.pop_front();
        }
        waiting_.push_back({std::move(*request.recognition), std::move(answer)});
    }
    wake_.notify_one();
    if (dropped) dropped->answer(refuse(dropped->recognition.id, "a newer drawing was asked for"));
}

void PadService::run() {
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> hold(lock_);
            wake_.wait(hold, [this] { return stopping_ || !waiting_.empty(); });
            if (stopping_) return;
            job = std::move(waiting_.front());
            waiting_.pop_front();
        }
        job.answer(answerRecognition(job.recognition, recogniser_));
    }
}

}  // namespace lumiko::hwr

// The handwriting pad's recognition requests, as a hostile page could send
// them: the input is the query of a "recognise" address. Whatever it is, the
// answer is a script that calls the pad (an answer or a refusal, in ASCII)
// or nothing at all, and what the service accepts is recognised with its
// cost bounded (make fuzz runs this harness with the time and memory limits
// of one recognition: pad.options).
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>

#include "hwr/padservice.h"

namespace {

[[noreturn]] void fail(const std::string& what, const std::string& query) {
    std::cerr << what << "\nquery: " << query.substr(0, 300) << '\n';
    std::abort();
}

bool startsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

// Freed memory is given back at once rather than held for the sanitizer's
// checks, so that the process's resident memory (bounded by pad.options)
// measures what a recognition takes.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=1"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lumiko::hwr;
    // One recogniser for the whole run, as in the panel: the model is read once.
    static Recogniser recogniser([] {
        const char* env = std::getenv("LUMIKO_HWR_MODEL");
        return std::string(env && *env ? env : LUMIKO_HWR_MODEL);
    }());
    const std::string query(reinterpret_cast<const char*>(data), size);
    PadRequest request = readPadRequest("recognise", query);
    if (request.recognition) {
        const Recognition& r = *request.recognition;
        if (r.strokes.empty() || r.strokes.size() > PadLimits::kStrokes) fail("accepted a stroke count out of bounds", query);
        request.reply = answerRecognition(r, recogniser);
        if (!recogniser.loaded()) fail("the model did not open: " + recogniser.error(), query);
        if (!startsWith(request.reply.body, "HandwritingPad.answer(" + r.id + ",["))
            fail("an accepted recognition got no answer: " + request.reply.body, query);
    }
    const PadReply& reply = request.reply;
    if (!reply.found) {
        if (!reply.body.empty()) fail("a body with no resource", query);
        return 0;
    }
    if (!startsWith(reply.body, "HandwritingPad.answer(") && !startsWith(reply.body, "HandwritingPad.refuse("))
        fail("an answer that is not the pad's: " + reply.body, query);
    if (reply.body.size() < 2 || reply.body.compare(reply.body.size() - 2, 2, ");") != 0)
        fail("an answer that does not end its call: " + reply.body, query);
    for (unsigned char c : reply.body)
        if (c < 0x20 || c > 0x7e) fail("an answer that is not plain ASCII: " + reply.body, query);
    return 0;
}

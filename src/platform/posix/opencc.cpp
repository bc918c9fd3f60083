#include "platform/posix/opencc.h"

#include <opencc.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "platform/posix/encoding.h"
#include "platform/posix/library.h"

namespace lumiko::posix {

namespace {

// OpenCC's calls. The library is loaded at the first conversion, not
// linked: most sessions never type traditional characters.
struct OpenccCalls {
    decltype(&opencc_open) open = nullptr;
    decltype(&opencc_convert_utf8) convert = nullptr;
    decltype(&opencc_convert_utf8_free) free = nullptr;
    decltype(&opencc_close) close = nullptr;
};

const OpenccCalls* openccCalls() {
    static const OpenccCalls* const calls = []() -> const OpenccCalls* {
        static OpenccCalls c;
        std::string problem;
        if (!loadLibrary(LUMIKO_OPENCC_SONAME,
                         {libraryCall("opencc_open", c.open), libraryCall("opencc_convert_utf8", c.convert),
                          libraryCall("opencc_convert_utf8_free", c.free), libraryCall("opencc_close", c.close)},
                         problem)) {
            std::fprintf(stderr, "lumiko: traditional characters are unavailable: %s\n", problem.c_str());
            return nullptr;
        }
        return &c;
    }();
    return calls;
}

struct Closer {
    void operator()(void* h) const { openccCalls()->close(h); }
};

// The converter, opened on first use and kept for the life of the program;
// null when it cannot be opened.
opencc_t converter() {
    static const std::unique_ptr<void, Closer> handle = []() -> std::unique_ptr<void, Closer> {
        const OpenccCalls* cc = openccCalls();
        if (!cc) return nullptr;
        opencc_t h = cc->open("s2t.json");
        return std::unique_ptr<void, Closer>(h == reinterpret_cast<opencc_t>(-1) ? nullptr : h);
    }();
    return handle.get();
}

// Converts a run of valid characters without NUL bytes; false on failure.
bool convertRun(opencc_t cc, std::string_view gbk, Text& out) {
    const OpenccCalls& calls = *openccCalls();  // loaded: cc was opened through it
    const std::string utf8 = gbkToUtf8(gbk);
    char* converted = calls.convert(cc, utf8.data(), utf8.size());
    if (!converted) return false;
    out += utf8ToGbk(converted);
    calls.free(converted);
    return true;
}

}  // namespace

Text toTraditional(const Text& gbk) {
    opencc_t cc = converter();
    if (!cc) return gbk;
    Text out;
    std::string_view rest = gbk;
    while (!rest.empty()) {
        size_t run = gbkValidPrefix(rest);
        if (const size_t nul = rest.substr(0, run).find('\0'); nul != std::string_view::npos)
            run = nul;
        if (run > 0 && !convertRun(cc, rest.substr(0, run), out)) return gbk;
        rest.remove_prefix(run);
        if (!rest.empty()) {
            out += rest.front();  // a stray byte or NUL stays as it is
            rest.remove_prefix(1);
        }
    }
    return out;
}

}  // namespace lumiko::posix

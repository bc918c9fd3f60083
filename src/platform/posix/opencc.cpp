#include "platform/posix/opencc.h"

#include <opencc.h>

#include <memory>
#include <string_view>

#include "platform/posix/encoding.h"

namespace lumiko::posix {

namespace {

struct Closer {
    void operator()(void* h) const { opencc_close(h); }
};

// The converter, opened on first use and kept for the life of the program;
// null when it cannot be opened.
opencc_t converter() {
    static const std::unique_ptr<void, Closer> handle = [] {
        opencc_t h = opencc_open("s2t.json");
        return std::unique_ptr<void, Closer>(h == reinterpret_cast<opencc_t>(-1) ? nullptr : h);
    }();
    return handle.get();
}

// Converts a run of valid characters without NUL bytes; false on failure.
bool convertRun(opencc_t cc, std::string_view gbk, Text& out) {
    const std::string utf8 = gbkToUtf8(gbk);
    char* converted = opencc_convert_utf8(cc, utf8.data(), utf8.size());
    if (!converted) return false;
    out += utf8ToGbk(converted);
    opencc_convert_utf8_free(converted);
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

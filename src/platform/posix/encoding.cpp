#include "platform/posix/encoding.h"

#include <iconv.h>

#include <cerrno>

namespace lumiko::posix {

namespace {

// One conversion descriptor per direction and thread, opened on first use.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of `in` as possible, appending to `out`. Stops at the
    // first invalid or incomplete sequence; returns the bytes consumed.
    size_t run(std::string_view in, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char buf[1024];
        while (srcLeft > 0) {
            char* dst = buf;
            size_t dstLeft = sizeof buf;
            const size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf, static_cast<size_t>(dst - buf));
            if (r == static_cast<size_t>(-1) && errno != E2BIG) break;
        }
        return in.size() - srcLeft;
    }

private:
    iconv_t cd_;
};

std::string convert(Converter& conv, std::string_view in, std::string_view replacement) {
    std::string out;
    out.reserve(in.size() * 3 / 2);
    if (!conv.ok()) return std::string(in);
    while (!in.empty()) {
        const size_t used = conv.run(in, out);
        in.remove_prefix(used);
        if (in.empty()) break;
        out.append(replacement);
        in.remove_prefix(1);
    }
    return out;
}

}  // namespace

std::string gbkToUtf8(std::string_view gbk) {
    thread_local Converter conv("UTF-8", "GB18030");
    return convert(conv, gbk, "\xEF\xBF\xBD");
}

size_t gbkValidPrefix(std::string_view gbk) {
    thread_local Converter conv("UTF-8", "GB18030");
    if (!conv.ok()) return 0;
    std::string scratch;
    return conv.run(gbk, scratch);
}

std::string utf8ToGbk(std::string_view utf8) {
    thread_local Converter conv("GB18030", "UTF-8");
    return convert(conv, utf8, "?");
}

}  // namespace lumiko::posix

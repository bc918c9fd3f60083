#include "platform/posix/download.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/posix/library.h"

namespace lumiko::posix {

namespace {

struct Sink {
    std::string& body;
    std::size_t maxBytes;
    bool full = false;
};

// Keeps at most maxBytes; once they are there, the transfer is ended (a
// short count makes the transfer fail with CURLE_WRITE_ERROR).
size_t appendBody(char* data, size_t size, size_t count, void* target) {
    Sink& sink = *static_cast<Sink*>(target);
    const size_t n = size * count;
    const size_t room = sink.maxBytes - sink.body.size();
    if (n < room) {
        sink.body.append(data, n);
        return n;
    }
    sink.body.append(data, room);
    sink.full = true;
    return n == room ? n : 0;
}

// libcurl's calls the download makes. libcurl is loaded at the first
// download, not linked: it brings a TLS stack and a dozen more libraries
// (about 5 MB of memory of their own) into a panel that may never check for
// an update.
struct CurlCalls {
    decltype(&curl_global_init) globalInit = nullptr;
    decltype(&curl_easy_init) easyInit = nullptr;
    decltype(&curl_easy_setopt) easySetopt = nullptr;
    decltype(&curl_easy_perform) easyPerform = nullptr;
    decltype(&curl_easy_cleanup) easyCleanup = nullptr;
};

// The calls, loaded and initialised once (kept for the life of the program);
// null when libcurl cannot be loaded, which is said once on the log.
const CurlCalls* curlCalls() {
    static const CurlCalls* const calls = []() -> const CurlCalls* {
        static CurlCalls c;
        std::string problem;
        if (!loadLibrary(LUMIKO_CURL_SONAME,
                         {libraryCall("curl_global_init", c.globalInit), libraryCall("curl_easy_init", c.easyInit),
                          libraryCall("curl_easy_setopt", c.easySetopt),
                          libraryCall("curl_easy_perform", c.easyPerform),
                          libraryCall("curl_easy_cleanup", c.easyCleanup)},
                         problem)) {
            std::fprintf(stderr, "lumiko: downloads are unavailable: %s\n", problem.c_str());
            return nullptr;
        }
        if (c.globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) return nullptr;
        return &c;
    }();
    return calls;
}

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

template <typename F>
void forEachLine(std::string_view text, F f) {
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        f(text.substr(pos, end - pos));
        pos = end + 1;
    }
}

unsigned long hexValue(std::string_view s) {
    return std::strtoul(std::string(s).c_str(), nullptr, 16);
}

constexpr unsigned long kRouteUp = 0x0001;      // RTF_UP
constexpr unsigned long kRouteReject = 0x0200;  // RTF_REJECT

std::string readProcFile(const char* path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

bool download(const std::string& url, std::string& body, DownloadLimits limits) {
    body.clear();
    // No time left is no download: a zero timeout would mean none at all.
    if (limits.totalTimeoutMs <= 0 || limits.maxBytes == 0) return false;
    const CurlCalls* lib = curlCalls();
    if (!lib) return false;
    CURL* curl = lib->easyInit();
    if (!curl) return false;
    Sink sink{body, limits.maxBytes};
    const auto curl_easy_setopt = lib->easySetopt;  // the loaded one, for the calls below
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
#if LIBCURL_VERSION_NUM >= 0x075500  // 7.85
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
#else
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
#endif
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, std::min(limits.connectTimeoutMs, limits.totalTimeoutMs));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, limits.totalTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    const CURLcode result = lib->easyPerform(curl);
    lib->easyCleanup(curl);
    if (result == CURLE_WRITE_ERROR && sink.full) return true;
    if (result != CURLE_OK) {
        body.clear();
        return false;
    }
    return true;
}

bool hasDefaultRouteV4(std::string_view table) {
    // Iface Destination Gateway Flags RefCnt Use Metric Mask …
    bool found = false;
    forEachLine(table, [&](std::string_view line) {
        const auto f = fields(line);
        if (f.size() < 8 || f[0] == "Iface" || f[0] == "lo") return;
        const unsigned long flags = hexValue(f[3]);
        if (f[1] == "00000000" && f[7] == "00000000" && (flags & kRouteUp) &&
            !(flags & kRouteReject))
            found = true;
    });
    return found;
}

bool hasDefaultRouteV6(std::string_view table) {
    // destination prefix-length source source-length next-hop metric refcnt
    // use flags device
    bool found = false;
    forEachLine(table, [&](std::string_view line) {
        const auto f = fields(line);
        if (f.size() < 10 || f[9] == "lo") return;
        const unsigned long flags = hexValue(f[8]);
        if (f[0] == std::string(32, '0') && f[1] == "00" && (flags & kRouteUp) &&
            !(flags & kRouteReject))
            found = true;
    });
    return found;
}

int networkState() {
    return hasDefaultRouteV4(readProcFile("/proc/net/route")) ||
                   hasDefaultRouteV6(readProcFile("/proc/net/ipv6_route"))
               ? 1
               : 0;
}

}  // namespace lumiko::posix

#include "platform/win32/net.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>

namespace lumiko::win32 {

namespace {
// The longest single wait (connecting, sending, waiting for data).
constexpr ULONGLONG kEachWaitMs = 5000;

struct InternetHandle {
    HINTERNET h;
    explicit InternetHandle(HINTERNET handle) : h(handle) {}
    ~InternetHandle() {
        if (h) InternetCloseHandle(h);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
};
}  // namespace

int networkState() {
    DWORD flags = 0;
    return InternetGetConnectedState(&flags, 0) ? 1 : 0;
}

bool download(const std::string& url, std::string& body, std::size_t maxBytes, unsigned totalMs) {
    body.clear();
    if (totalMs == 0 || maxBytes == 0) return false;
    const ULONGLONG deadline = GetTickCount64() + totalMs;
    // The time left, never zero (zero would mean no limit).
    auto left = [deadline]() -> DWORD {
        const ULONGLONG now = GetTickCount64();
        return now >= deadline ? 1 : static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, kEachWaitMs));
    };
    char host[256] = {}, path[2048] = {};
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = sizeof path;
    if (!InternetCrackUrlA(url.c_str(), 0, 0, &parts)) return false;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return false;
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;

    InternetHandle session(InternetOpenA("Lumiko/1.0", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session.h) return false;
    // The limits are set on every handle: systems differ in which handle's
    // limits a request heeds.
    auto limit = [&left](HINTERNET h) {
        DWORD ms = left();
        for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                             INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_DATA_SEND_TIMEOUT,
                             INTERNET_OPTION_DATA_RECEIVE_TIMEOUT})
            InternetSetOptionA(h, option, &ms, sizeof ms);
    };
    limit(session.h);
    InternetHandle connection(InternetConnectA(session.h, host, parts.nPort, nullptr, nullptr,
                                               INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection.h) return false;
    limit(connection.h);
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI |
                        INTERNET_FLAG_NO_COOKIES | (secure ? INTERNET_FLAG_SECURE : 0);
    InternetHandle request(HttpOpenRequestA(connection.h, "GET", path[0] ? path : "/", nullptr, nullptr,
                                            nullptr, flags, 0));
    if (!request.h) return false;
    limit(request.h);
    if (!HttpSendRequestA(request.h, nullptr, 0, nullptr, 0)) return false;

    DWORD status = 0, size = sizeof status;
    if (!HttpQueryInfoA(request.h, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
        status < 200 || status > 299)
        return false;

    char buf[16384];
    while (body.size() < maxBytes) {
        if (GetTickCount64() >= deadline) {
            body.clear();
            return false;
        }
        // Each wait for data may last only as long as the time left.
        limit(request.h);
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(sizeof buf, maxBytes - body.size()));
        if (!InternetReadFile(request.h, buf, want, &got) || GetTickCount64() > deadline) {
            body.clear();
            return false;
        }
        if (got == 0) return true;
        body.append(buf, got);
    }
    return true;  // the first maxBytes; the rest is not fetched
}

}  // namespace lumiko::win32

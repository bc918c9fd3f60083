#include "platform/win32/net.h"

#include <windows.h>
#include <wininet.h>

namespace lumiko::win32 {

namespace {
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

bool download(const std::string& url, std::string& body, unsigned timeoutMs, unsigned totalMs) {
    body.clear();
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
    auto limit = [timeoutMs](HINTERNET h) {
        DWORD ms = timeoutMs;
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

    const ULONGLONG start = GetTickCount64();
    char buf[16384];
    for (;;) {
        DWORD got = 0;
        if (!InternetReadFile(request.h, buf, sizeof buf, &got)) {
            body.clear();
            return false;
        }
        if (got == 0) return true;
        body.append(buf, got);
        if (GetTickCount64() - start > totalMs) {
            body.clear();
            return false;
        }
    }
}

}  // namespace lumiko::win32

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
    InternetHandle session(InternetOpenA("Lumiko/1.0", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session.h) return false;
    DWORD limit = timeoutMs;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT})
        InternetSetOptionA(session.h, option, &limit, sizeof limit);

    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI |
                        INTERNET_FLAG_NO_COOKIES;
    InternetHandle request(InternetOpenUrlA(session.h, url.c_str(), nullptr, 0, flags, 0));
    if (!request.h) return false;

    DWORD status = 0, size = sizeof status;
    if (HttpQueryInfoA(request.h, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                       nullptr) &&
        (status < 200 || status > 299))
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

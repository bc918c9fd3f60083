// The network through WinINet.
#pragma once

#include <string>

namespace lumiko::win32 {

// 1 when the system reports a connection, else 0.
int networkState();

// The whole body of an HTTP GET. False, with an empty body, on any failure:
// no connection, a status other than 2xx, or no answer within the time
// limits (connecting, sending and each wait for data; the whole download is
// also cut off after `totalMs`).
bool download(const std::string& url, std::string& body, unsigned timeoutMs = 5000,
              unsigned totalMs = 20000);

}  // namespace lumiko::win32

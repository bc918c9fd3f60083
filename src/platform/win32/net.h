// The network through WinINet.
#pragma once

#include <cstddef>
#include <string>

namespace lumiko::win32 {

// 1 when the system reports a connection, else 0.
int networkState();

// The body of an HTTP GET, of which at most `maxBytes` are read (a longer
// body gives its first maxBytes). False, with an empty body, on any failure:
// no connection, a status other than 2xx, or no answer within `totalMs`
// (each wait, connecting included, is bounded by the time that is left).
bool download(const std::string& url, std::string& body, std::size_t maxBytes, unsigned totalMs);

}  // namespace lumiko::win32

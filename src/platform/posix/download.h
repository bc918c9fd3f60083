// HTTP downloads and the network-connection state on Linux.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumiko::posix {

struct DownloadLimits {
    long connectTimeoutMs = 5000;   // to establish the connection
    long totalTimeoutMs = 10000;    // for the whole transfer, redirects included
    std::size_t maxBytes = 1 << 20;  // of the body that are read
};

// The body of an HTTP(S) GET, following redirects (to http and https only).
// At most maxBytes of it are read: a longer body gives its first maxBytes
// and the rest is never fetched. False, with an empty body, when the request
// fails, times out, or the final answer has a status of 400 or above. A
// silent or slow server costs at most totalTimeoutMs.
bool download(const std::string& url, std::string& body, DownloadLimits limits = {});

// 1 when the computer is connected to a network, else 0. Connected means
// that a default route (IPv4 or IPv6) leads out through an interface other
// than the loopback: without one no outside address can be reached.
int networkState();

// The parts of networkState(): whether a routing table in the text form of
// /proc/net/route or /proc/net/ipv6_route holds a usable default route.
bool hasDefaultRouteV4(std::string_view procNetRoute);
bool hasDefaultRouteV6(std::string_view procNetIpv6Route);

}  // namespace lumiko::posix

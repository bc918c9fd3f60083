// A small HTTP server on 127.0.0.1 for the tests: each connection gets the
// next prepared reply (the last one repeats); a silent reply reads the
// request and never answers; a slow one sends its body a byte at a time.
#pragma once

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lumiko::testing {

class LoopbackServer {
public:
    struct Reply {
        int status = 200;
        std::string body, location;
        bool silent = false;
        int byteDelayMs = 0;  // between two bytes of the body
    };
    static Reply page(int status, std::string body) { return {status, std::move(body), {}, false}; }
    static Reply redirect(std::string to) { return {302, {}, std::move(to), false}; }
    static Reply silence() { return {200, {}, {}, true}; }
    static Reply slow(std::string body, int byteDelayMs) { return {200, std::move(body), {}, false, byteDelayMs}; }

    explicit LoopbackServer(std::vector<Reply> replies) : replies_(std::move(replies)) {
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(listener_, 8);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
        url_ = "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port));
        thread_ = std::thread([this] { serve(); });
    }
    ~LoopbackServer() { stop(); }

    // Stops answering and closes the port.
    void stop() {
        if (stopping_.exchange(true)) return;
        thread_.join();
        ::close(listener_);
    }
    const std::string& url() const { return url_; }
    // The request lines received so far ("GET / HTTP/1.1").
    std::vector<std::string> requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    static bool readable(int fd) {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, 20) > 0;
    }

    void serve() {
        for (size_t next = 0; !stopping_;) {
            if (!readable(listener_)) continue;
            const int conn = ::accept(listener_, nullptr, nullptr);
            if (conn < 0) continue;
            answer(conn, replies_[std::min(next++, replies_.size() - 1)]);
            ::close(conn);
        }
    }

    void answer(int conn, const Reply& reply) {
        std::string request;
        char buf[1024];
        while (!stopping_ && request.find("\r\n\r\n") == std::string::npos) {
            if (!readable(conn)) continue;
            const ssize_t n = ::recv(conn, buf, sizeof buf, 0);
            if (n <= 0) return;
            request.append(buf, static_cast<size_t>(n));
        }
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request.substr(0, request.find("\r\n")));
        }
        if (reply.silent) {  // until the client gives up or the test ends
            while (!stopping_)
                if (readable(conn) && ::recv(conn, buf, sizeof buf, 0) <= 0) return;
            return;
        }
        std::string all = "HTTP/1.1 " + std::to_string(reply.status) + " X\r\n";
        if (!reply.location.empty()) all += "Location: " + reply.location + "\r\n";
        all += "Content-Length: " + std::to_string(reply.body.size()) + "\r\nConnection: close\r\n\r\n";
        const size_t head = all.size();
        all += reply.body;
        for (size_t sent = 0; sent < all.size() && !stopping_;) {
            size_t chunk = all.size() - sent;
            if (reply.byteDelayMs > 0 && sent < head) {
                chunk = head - sent;
            } else if (reply.byteDelayMs > 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(reply.byteDelayMs));
                chunk = 1;
            }
            const ssize_t n = ::send(conn, all.data() + sent, chunk, MSG_NOSIGNAL);
            if (n <= 0) return;
            sent += static_cast<size_t>(n);
        }
    }

    std::vector<Reply> replies_;
    int listener_ = -1;
    std::string url_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
};

}  // namespace lumiko::testing

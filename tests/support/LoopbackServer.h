#pragma once
// A tiny HTTP/1.1 server on 127.0.0.1 for the network tests: one thread per
// connection, one request per connection ("Connection: close"), replies from
// handlers registered by path. Replies can be held back until the test
// releases them (a server that delays), sent as raw bytes (malformed or
// truncated replies), trickled a byte at a time, or replaced by closing the
// connection.
//
// Plain sockets rather than an HTTP library so that the faulty behaviours
// are exact and so that no test program needs another library linked.
//
// Header-only so that every test program can use it without a build change.
//
// Thread: route() before requests arrive; the rest from any thread.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <stdexcept>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace testnet {

struct ServerRequest {
    std::string method;
    std::string target;  // path and query as sent
    std::string path;    // without the query
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    // First header of that name (case-insensitive); empty when absent.
    std::string header(const std::string& name) const;
    bool hasHeader(const std::string& name) const;
};

struct ServerReply {
    int status = 200;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    // Sent byte for byte instead of a well-formed reply, then the connection closes.
    std::optional<std::string> raw;
    // Close the connection without answering.
    bool drop = false;
    // Wait for releaseHeldReplies() (or the server's end) before answering.
    bool hold = false;
    // Announce the body's length, then send one byte per interval of real
    // time until it is out, the client hangs up or the server ends.
    std::chrono::milliseconds trickleEvery{0};

    static ServerReply text(int status, std::string body)
    {
        ServerReply r;
        r.status = status;
        r.body = std::move(body);
        r.headers.emplace_back("Content-Type", "text/plain");
        return r;
    }
};

class LoopbackServer {
public:
    using Handler = std::function<ServerReply(const ServerRequest&)>;

    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    // Paths without a handler answer 404 with the body "no route".
    void route(const std::string& path, Handler handler);

    int port() const { return port_; }
    std::string url(const std::string& target) const;

    int requestCount(const std::string& path) const;
    std::vector<ServerRequest> requests() const;
    void releaseHeldReplies();
    // Bytes of trickled bodies sent so far.
    size_t bytesTrickled() const { return trickled_; }

private:
    void acceptLoop();
    void serve(int fd);
    bool readRequest(int fd, ServerRequest& out);
    void waitForRelease();
    // False when the server ends before `interval` has passed.
    bool pause(std::chrono::milliseconds interval);

    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<size_t> trickled_{0};
    std::thread acceptThread_;

    mutable std::mutex mutex_;
    std::condition_variable released_;
    bool releaseAll_ = false;
    std::map<std::string, Handler> routes_;
    std::vector<ServerRequest> requests_;
    std::vector<std::thread> connections_;
};

namespace detail {
inline bool sameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

inline void sendAll(int fd, const std::string& bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
    }
}

inline std::string reasonFor(int status)
{
    switch (status) {
    case 200: return "OK";
    case 302: return "Found";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}
}  // namespace detail

inline std::string ServerRequest::header(const std::string& name) const
{
    for (const auto& [n, v] : headers)
        if (detail::sameName(n, name)) return v;
    return {};
}

inline bool ServerRequest::hasHeader(const std::string& name) const
{
    for (const auto& [n, v] : headers)
        if (detail::sameName(n, name)) return true;
    return false;
}

inline LoopbackServer::LoopbackServer()
{
    listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (listenFd_ < 0) throw std::runtime_error("socket");
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listenFd_, 64) != 0)
        throw std::runtime_error("bind/listen");
    socklen_t len = sizeof addr;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    acceptThread_ = std::thread([this] { acceptLoop(); });
}

inline LoopbackServer::~LoopbackServer()
{
    stopping_ = true;
    releaseHeldReplies();
    acceptThread_.join();
    ::close(listenFd_);
    std::vector<std::thread> connections;
    {
        std::lock_guard lock(mutex_);
        connections.swap(connections_);
    }
    for (auto& t : connections) t.join();
}

inline void LoopbackServer::route(const std::string& path, Handler handler)
{
    std::lock_guard lock(mutex_);
    routes_[path] = std::move(handler);
}

inline std::string LoopbackServer::url(const std::string& target) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + target;
}

inline int LoopbackServer::requestCount(const std::string& path) const
{
    std::lock_guard lock(mutex_);
    int n = 0;
    for (const auto& r : requests_)
        if (r.path == path) ++n;
    return n;
}

inline std::vector<ServerRequest> LoopbackServer::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

inline void LoopbackServer::releaseHeldReplies()
{
    {
        std::lock_guard lock(mutex_);
        releaseAll_ = true;
    }
    released_.notify_all();
}

inline void LoopbackServer::waitForRelease()
{
    std::unique_lock lock(mutex_);
    released_.wait(lock, [this] { return releaseAll_ || stopping_.load(); });
}

inline bool LoopbackServer::pause(std::chrono::milliseconds interval)
{
    std::unique_lock lock(mutex_);
    return !released_.wait_for(lock, interval, [this] { return stopping_.load(); });
}

inline void LoopbackServer::acceptLoop()
{
    while (!stopping_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        int fd = ::accept(listenFd_, nullptr, nullptr);
        if (fd < 0) continue;
        std::lock_guard lock(mutex_);
        connections_.emplace_back([this, fd] { serve(fd); });
    }
}

inline bool LoopbackServer::readRequest(int fd, ServerRequest& out)
{
    std::string data;
    size_t headerEnd = std::string::npos;
    size_t contentLength = 0;
    char buf[4096];
    for (;;) {
        if (headerEnd != std::string::npos && data.size() >= headerEnd + 4 + contentLength) break;
        if (stopping_) return false;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) return false;
        data.append(buf, static_cast<size_t>(n));
        if (data[0] < 'A' || data[0] > 'Z') {
            // Not HTTP (a TLS handshake, say): answer as a plain HTTP server does.
            detail::sendAll(fd, "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            return false;
        }
        if (headerEnd != std::string::npos) continue;
        headerEnd = data.find("\r\n\r\n");
        if (headerEnd == std::string::npos) continue;

        size_t lineEnd = data.find("\r\n");
        std::string requestLine = data.substr(0, lineEnd);
        auto sp1 = requestLine.find(' ');
        auto sp2 = requestLine.find(' ', sp1 + 1);
        if (sp1 == std::string::npos || sp2 == std::string::npos) return false;
        out.method = requestLine.substr(0, sp1);
        out.target = requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
        out.path = out.target.substr(0, out.target.find('?'));
        size_t pos = lineEnd + 2;
        while (pos < headerEnd) {
            size_t end = data.find("\r\n", pos);
            std::string line = data.substr(pos, end - pos);
            pos = end + 2;
            auto colon = line.find(':');
            if (colon == std::string::npos) continue;
            std::string value = line.substr(colon + 1);
            while (!value.empty() && value.front() == ' ') value.erase(0, 1);
            out.headers.emplace_back(line.substr(0, colon), value);
        }
        std::string length = out.header("Content-Length");
        contentLength = length.empty() ? 0 : std::stoul(length);
    }
    out.body = data.substr(headerEnd + 4, contentLength);
    return true;
}

inline void LoopbackServer::serve(int fd)
{
    ServerRequest request;
    if (!readRequest(fd, request)) {
        ::close(fd);
        return;
    }
    Handler handler;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        auto it = routes_.find(request.path);
        if (it != routes_.end()) handler = it->second;
    }
    ServerReply reply = handler ? handler(request) : ServerReply::text(404, "no route");
    if (reply.hold) waitForRelease();
    if (reply.drop) {
        ::close(fd);
        return;
    }
    if (reply.raw) {
        detail::sendAll(fd, *reply.raw);
        ::close(fd);
        return;
    }
    std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " + detail::reasonFor(reply.status) + "\r\n";
    for (const auto& [name, value] : reply.headers) head += name + ": " + value + "\r\n";
    head += "Content-Length: " + std::to_string(reply.body.size()) + "\r\nConnection: close\r\n\r\n";
    if (reply.trickleEvery.count() > 0) {
        detail::sendAll(fd, head);
        for (char byte : reply.body) {
            if (::send(fd, &byte, 1, MSG_NOSIGNAL) != 1) break;
            ++trickled_;
            if (!pause(reply.trickleEvery)) break;
        }
        ::close(fd);
        return;
    }
    detail::sendAll(fd, head + (request.method == "HEAD" ? std::string() : reply.body));
    ::shutdown(fd, SHUT_WR);
    ::close(fd);
}

}  // namespace testnet

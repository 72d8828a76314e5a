#pragma once
// The process's one libcurl multi handle and the transport thread that
// drives it with curl_multi_poll. URLTransfer is its public face.
//
// Idle time-outs and deadlines are checked in the transport loop against
// platform::Clock: with the system clock the loop sleeps until the nearest
// one; with a manual clock (tests) it looks again every few milliseconds
// while a transfer with either runs, so advancing the clock fires it promptly.
//
// At process exit the thread stops and running transfers are dropped without
// an outcome; start() and cancel() after that do nothing.
//
// Thread: start() and cancel() from any thread; the transfers' libcurl
// handles are touched only on the transport thread once started.
#include <memory>

namespace platform {

class URLTransfer;
struct URLRequest;

class CurlTransport {
public:
    static CurlTransport& shared();
    ~CurlTransport();
    CurlTransport(const CurlTransport&) = delete;
    CurlTransport& operator=(const CurlTransport&) = delete;

    void start(const std::shared_ptr<URLTransfer>& transfer, URLRequest request);
    void cancel(const URLTransfer* transfer);

private:
    CurlTransport();
    struct Engine;
    std::unique_ptr<Engine> engine_;
};

}  // namespace platform

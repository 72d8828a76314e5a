#pragma once
// The process's libcurl multi handle and the transport thread that drives
// it with curl_multi_poll; a thread whose loop runs its own transfers has a
// multi handle of its own, driven while its loop waits. URLTransfer is their
// public face.
//
// Idle time-outs and deadlines are checked in the transport loop against
// platform::Clock: with the system clock the loop sleeps until the nearest
// one; with a manual clock (tests) it looks again every few milliseconds
// while a transfer with either runs, so advancing the clock fires it promptly.
//
// At process exit the transport thread stops and its running transfers are
// dropped without an outcome; start() and cancel() after that do nothing.
// A loop's own transfers go the same way when the loop closes.
//
// Thread: start() and cancel() from any thread; the transfers' libcurl
// handles are touched only on the thread that runs them once started.
#include <memory>

namespace platform {

class RunLoopWaiter;
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

    // From a started thread's own loop: transfers that report to this loop
    // are run by its thread from now on, while it waits, instead of by the
    // transport thread. The loop drops them, unfinished, when it closes.
    static void runTransfersOnCurrentLoop();

private:
    CurlTransport();
    struct Engine;
    class LoopEngine;
    // The engine that runs transfers reporting to `transfer`'s loop;
    // `keepAlive` holds it for the caller's use.
    Engine& engineFor(const URLTransfer& transfer, std::shared_ptr<RunLoopWaiter>& keepAlive);
    std::unique_ptr<Engine> engine_;
};

}  // namespace platform

#pragma once
// One HTTP transfer run by the process's transport thread (libcurl's multi
// interface), or by the given loop's own thread when that loop runs its own
// transfers (CurlTransport.h). The outcome is posted to the run loop given
// at start.
//
//   auto t = URLTransfer::start(request, Thread::current()->runLoop(),
//                               [](URLResult r) { ... });
//
// Redirects (301, 302, 303, 307, 308) are followed, at most 16; a POST that
// meets a 301, 302 or 303 continues as a GET without body. TLS peer and host
// verification are always on. Every transfer ends by its request's deadline
// (URLRequest::deadlineSeconds) at the latest.
//
// The transfer keeps itself alive until its outcome is delivered or it is
// cancelled; dropping the returned pointer does not stop it.
//
// Thread: start() and cancel() from any thread; the completion runs on the
// given run loop's thread. After cancel() returns no completion starts. (A
// completion that is already running on its loop while another thread
// cancels cannot be recalled; cancel from the loop's own thread to be sure.)
#include <functional>
#include <memory>
#include <mutex>

#include "platform/net/URLRequest.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/RunLoop.h"

namespace platform {

class URLTransfer final : public Object {
public:
    using Completion = std::function<void(const URLResult&)>;

    static std::shared_ptr<URLTransfer> start(URLRequest request, std::shared_ptr<RunLoop> loop, Completion completion);

    void cancel();
    bool isCancelled() const;
    // True once the completion has been handed its outcome.
    bool isFinished() const;

private:
    friend class CurlTransport;
    URLTransfer(std::shared_ptr<RunLoop> loop, Completion completion)
        : loop_(std::move(loop)), completion_(std::move(completion))
    {
    }
    // Called by the transport thread: posts the outcome to the run loop.
    void post(std::shared_ptr<URLResult> result);
    void deliver(const URLResult& result);

    const std::shared_ptr<RunLoop> loop_;
    mutable std::mutex mutex_;
    Completion completion_;
    bool cancelled_ = false;
    bool finished_ = false;
};

using URLTransferPtr = std::shared_ptr<URLTransfer>;

}  // namespace platform

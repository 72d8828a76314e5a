#include "platform/net/URLTransfer.h"

#include "platform/net/CurlTransport.h"

namespace platform {

std::shared_ptr<URLTransfer> URLTransfer::start(URLRequest request, std::shared_ptr<RunLoop> loop, Completion completion)
{
    std::shared_ptr<URLTransfer> transfer(new URLTransfer(std::move(loop), std::move(completion)));
    CurlTransport::shared().start(transfer, std::move(request));
    return transfer;
}

void URLTransfer::cancel()
{
    // Destroyed after the lock is released: what the completion captured may
    // cancel or ask about this very transfer from its destructor.
    Completion dropped;
    {
        std::lock_guard lock(mutex_);
        if (cancelled_ || finished_) return;
        cancelled_ = true;
        dropped = std::move(completion_);
        completion_ = nullptr;
    }
    CurlTransport::shared().cancel(this);
}

bool URLTransfer::isCancelled() const
{
    std::lock_guard lock(mutex_);
    return cancelled_;
}

bool URLTransfer::isFinished() const
{
    std::lock_guard lock(mutex_);
    return finished_;
}

void URLTransfer::post(std::shared_ptr<URLResult> result)
{
    auto self = std::static_pointer_cast<URLTransfer>(shared_from_this());
    loop_->post([self, result] { self->deliver(*result); });
}

void URLTransfer::deliver(const URLResult& result)
{
    Completion completion;
    {
        std::lock_guard lock(mutex_);
        if (cancelled_ || finished_) return;
        finished_ = true;
        completion = std::move(completion_);
        completion_ = nullptr;
    }
    if (completion) completion(result);
}

}  // namespace platform

#include "kernel/http/HCHttpRequest.h"

#include "kernel/http/HCHttpService.h"
#include "kernel/http/HCHttpServiceObserver.h"
#include "platform/net/URLTransfer.h"
#include "platform/runtime/Thread.h"

HCHttpRequest::HCHttpRequest(std::string url, platform::ObjectPtr userData, std::shared_ptr<HCHttpServiceObserver> observer)
    : url_(std::move(url)), userData_(std::move(userData)), observer_(std::move(observer))
{
}

std::shared_ptr<HCHttpServiceObserver> HCHttpRequest::observer() const
{
    std::lock_guard lock(mutex_);
    return observer_;
}

bool HCHttpRequest::isInProgress() const
{
    std::lock_guard lock(mutex_);
    return inProgress_;
}

int HCHttpRequest::statusCode() const
{
    std::lock_guard lock(mutex_);
    return statusCode_;
}

std::shared_ptr<platform::Data> HCHttpRequest::responseData() const
{
    std::lock_guard lock(mutex_);
    return responseData_;
}

platform::HttpHeaders HCHttpRequest::responseHeaders() const
{
    std::lock_guard lock(mutex_);
    return responseHeaders_;
}

std::shared_ptr<platform::NetError> HCHttpRequest::error() const
{
    std::lock_guard lock(mutex_);
    return error_;
}

void HCHttpRequest::start(platform::URLRequest request, const std::shared_ptr<HCHttpService>& service)
{
    auto self = platform::self(this);
    std::lock_guard lock(mutex_);
    service_ = service;
    inProgress_ = true;
    transfer_ = platform::URLTransfer::start(std::move(request), platform::Thread::current()->runLoop(),
                                             [self](const platform::URLResult& result) { self->transferEnded(result); });
}

void HCHttpRequest::transferEnded(const platform::URLResult& result)
{
    std::shared_ptr<HCHttpService> service;
    {
        std::lock_guard lock(mutex_);
        transfer_ = nullptr;
        inProgress_ = false;
        if (result.isReply()) {
            statusCode_ = result.response.statusCode;
            responseData_ = platform::Data::make(result.response.body);
            responseHeaders_ = result.response.headers;
        } else {
            error_ = result.error;
        }
        service = service_.lock();
    }
    // A service that is gone has cancelled its requests; nobody is left to tell.
    if (!service) return;
    if (result.isReply())
        service->onFinishedDownloading(platform::self(this));
    else
        service->onFailedDownloading(platform::self(this));
}

void HCHttpRequest::cancelImmediately()
{
    std::shared_ptr<platform::URLTransfer> transfer;
    std::shared_ptr<HCHttpService> service;
    {
        std::lock_guard lock(mutex_);
        observer_ = nullptr;
        transfer = std::move(transfer_);
        transfer_ = nullptr;
        inProgress_ = false;
        service = service_.lock();
    }
    if (transfer) transfer->cancel();
    if (service) service->forget(this);
}

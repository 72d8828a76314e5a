#include "transport/oauth/OAuthAPIRequestLoader.h"

#include "platform/runtime/Thread.h"
#include "transport/handles/HCRequestHandlesForModule.h"
#include "transport/provider/HCProvider.h"

OAuthAPIRequestLoader::OAuthAPIRequestLoader(std::shared_ptr<OAuthURLRequest> request, HCDelegate onSuccess,
                                             HCDelegate onFailure)
    : request_(std::move(request)), onSuccess_(std::move(onSuccess)), onFailure_(std::move(onFailure))
{
}

std::shared_ptr<platform::Data> OAuthAPIRequestLoader::data() const
{
    std::lock_guard lock(mutex_);
    return data_ ? data_ : std::make_shared<platform::Data>();
}

std::shared_ptr<OAuthServiceResponse> OAuthAPIRequestLoader::oauthResponse() const
{
    std::lock_guard lock(mutex_);
    return response_ ? response_ : std::make_shared<OAuthServiceResponse>(nullptr);
}

platform::NetErrorPtr OAuthAPIRequestLoader::error() const
{
    std::lock_guard lock(mutex_);
    return error_;
}

int OAuthAPIRequestLoader::statusCode() const
{
    auto response = oauthResponse()->urlResponse();
    return response ? response->statusCode() : 0;
}

HCDelegate OAuthAPIRequestLoader::getOnSuccess() const
{
    std::lock_guard lock(mutex_);
    return onSuccess_;
}

HCDelegate OAuthAPIRequestLoader::getOnFailure() const
{
    std::lock_guard lock(mutex_);
    return onFailure_;
}

void OAuthAPIRequestLoader::setOnSuccess(const HCDelegate& delegate)
{
    std::lock_guard lock(mutex_);
    onSuccess_ = delegate;
}

void OAuthAPIRequestLoader::setOnFailure(const HCDelegate& delegate)
{
    std::lock_guard lock(mutex_);
    onFailure_ = delegate;
}

void OAuthAPIRequestLoader::setProvider(const std::shared_ptr<HCProvider>& provider)
{
    std::lock_guard lock(mutex_);
    provider_ = provider;
}

std::shared_ptr<HCProvider> OAuthAPIRequestLoader::provider() const
{
    std::lock_guard lock(mutex_);
    return provider_.lock();
}

bool OAuthAPIRequestLoader::isCancelled() const
{
    std::lock_guard lock(mutex_);
    return cancelled_;
}

bool OAuthAPIRequestLoader::isLoading() const
{
    std::lock_guard lock(mutex_);
    return transfer_ != nullptr;
}

bool OAuthAPIRequestLoader::loadSynchronously(bool synchronously)
{
    if (synchronously) return false;
    // A cancel can land between the provider taking the action off its queue
    // and this start (they run on different threads). Such a request is
    // never sent, and a transfer started just before the cancel is stopped
    // here: left running, it would hold the loader through its completion
    // while the loader holds it, and neither would ever be freed.
    if (isCancelled()) return false;
    // Signed now with the provider's credentials of this moment: a log-out or
    // a new token while the request waited in the queue must count.
    if (auto provider = this->provider()) request_->setToken(provider->accessToken());
    auto self = platform::self(this);
    auto transfer = platform::URLTransfer::start(request_->prepare(), platform::Thread::current()->runLoop(),
                                                 [self](const platform::URLResult& result) { self->finish(result); });
    {
        std::lock_guard lock(mutex_);
        if (!cancelled_) {
            transfer_ = std::move(transfer);
            return true;
        }
    }
    if (transfer) transfer->cancel();
    return false;
}

void OAuthAPIRequestLoader::finish(const platform::URLResult& result)
{
    HCDelegate next;
    {
        std::lock_guard lock(mutex_);
        transfer_.reset();
        if (result.isReply()) {
            auto& r = result.response;
            response_ = std::make_shared<OAuthServiceResponse>(
                std::make_shared<HTTPURLResponse>(r.url, r.statusCode, r.headers));
            data_ = std::make_shared<platform::Data>(r.body);
            next = (r.statusCode >= 200 && r.statusCode <= 299) ? onSuccess_ : onFailure_;
        } else {
            response_ = std::make_shared<OAuthServiceResponse>(nullptr);
            error_ = result.error;
            next = onFailure_;
        }
    }
    next.invoke(platform::self(this));
}

void OAuthAPIRequestLoader::cancel()
{
    auto self = platform::self(this);
    HCRequestHandlesForModule::completeRequest(self);
    platform::URLTransferPtr transfer;
    {
        std::lock_guard lock(mutex_);
        transfer = std::move(transfer_);
        cancelled_ = true;
        onSuccess_ = HCDelegate();
        onFailure_ = HCDelegate();
    }
    if (transfer) transfer->cancel();
}

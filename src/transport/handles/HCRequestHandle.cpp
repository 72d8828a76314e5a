#include "transport/handles/HCRequestHandle.h"

#include "kernel/http/HCHttpRequest.h"
#include "transport/handles/HCRequestHandlesForModule.h"
#include "transport/oauth/OAuthAPIRequestLoader.h"
#include "transport/provider/HCProvider.h"

namespace {

HCRequestHandle::RequestKind kindOf(const platform::ObjectPtr& request)
{
    if (std::dynamic_pointer_cast<OAuthAPIRequestLoader>(request)) return HCRequestHandle::RequestKind::SignedRequest;
    if (std::dynamic_pointer_cast<HCHttpRequest>(request)) return HCRequestHandle::RequestKind::HttpDownload;
    return HCRequestHandle::RequestKind::Other;
}

}  // namespace

HCRequestHandle::HCRequestHandle(const platform::ObjectPtr& request) : request_(request), kind_(kindOf(request)) {}

std::shared_ptr<HCRequestHandle> HCRequestHandle::requestHandle(const platform::ObjectPtr& request)
{
    auto handle = std::make_shared<HCRequestHandle>(request);
    HCRequestHandlesForModule::handleMade(handle);
    return handle;
}

platform::ObjectPtr HCRequestHandle::request() const
{
    std::lock_guard lock(mutex_);
    return request_.lock();
}

void HCRequestHandle::setRequest(const platform::ObjectPtr& request)
{
    std::lock_guard lock(mutex_);
    request_ = request;
}

void HCRequestHandle::cancel()
{
    auto request = this->request();
    if (!request) return;
    switch (kind_) {
    case RequestKind::SignedRequest: {
        auto loader = std::static_pointer_cast<OAuthAPIRequestLoader>(request);
        if (auto provider = loader->provider()) provider->cancelRequest(loader);
        break;
    }
    case RequestKind::HttpDownload:
        std::static_pointer_cast<HCHttpRequest>(request)->cancelImmediately();
        break;
    case RequestKind::Other:
        break;
    }
    // A cancelled request has ended as far as the handle's holder can tell.
    if (kind_ != RequestKind::Other) setRequest(nullptr);
}

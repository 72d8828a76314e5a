#include "core/xp/ExtendedRequest.h"

#include "core/xp/HCXPRequest.h"

void ExtendedRequest::setXPRequest(std::shared_ptr<HCXPRequest> request)
{
    std::lock_guard lock(mutex_);
    xpRequest_ = std::move(request);
}

std::shared_ptr<HCXPRequest> ExtendedRequest::xpRequest() const
{
    std::lock_guard lock(mutex_);
    return xpRequest_;
}

void ExtendedRequest::prepareReply(const NetHTTPRequest& transport) const
{
    if (auto request = xpRequest()) request->requestFinishedOnRequestThread(transport);
}

std::shared_ptr<NetHTTPRequest> ExtendedGetRequest::copy() const
{
    auto c = std::make_shared<ExtendedGetRequest>(url());
    copySettingsTo(*c);
    return c;
}

void ExtendedGetRequest::requestFinished()
{
    prepareReply(*this);
    NetHTTPRequest::requestFinished();
}

std::shared_ptr<NetHTTPRequest> ExtendedFormRequest::copy() const
{
    auto c = std::make_shared<ExtendedFormRequest>(url());
    copySettingsTo(*c);
    return c;
}

void ExtendedFormRequest::requestFinished()
{
    prepareReply(*this);
    NetFormDataRequest::requestFinished();
}

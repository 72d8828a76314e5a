#include "kernel/http/HCHttpService.h"

#include <algorithm>

#include "platform/foundation/Format.h"
#include "platform/runtime/Guarded.h"

namespace {
platform::Guarded<HCHttpService::CompleteRequestHook>& hookSlot()
{
    static platform::Guarded<HCHttpService::CompleteRequestHook> hook;
    return hook;
}
}  // namespace

HCHttpService::HCHttpService(std::string baseUrl, bool useCookies) : baseUrl_(std::move(baseUrl)), useCookies_(useCookies) {}

HCHttpService::~HCHttpService()
{
    cancelAllRequests();
}

void HCHttpService::setCompleteRequestHook(CompleteRequestHook hook)
{
    hookSlot().set(std::move(hook));
}

std::string HCHttpService::urlForPath(const std::string& baseUrl, const std::string& path)
{
    if (!baseUrl.empty() && baseUrl.back() == '/' && !path.empty() && path.front() == '/') return baseUrl + path.substr(1);
    return baseUrl + path;
}

std::shared_ptr<HCHttpRequest> HCHttpService::startRequest(const std::string& path, const std::string& method,
                                                           const std::shared_ptr<platform::Data>& body,
                                                           const std::shared_ptr<HCHttpServiceObserver>& observer)
{
    return startRequest(path, method, body, "", "", nullptr, "", observer);
}

std::shared_ptr<HCHttpRequest> HCHttpService::startRequest(const std::string& path, const std::string& method,
                                                           const std::shared_ptr<platform::Data>& body,
                                                           const std::string& email, const std::string& password,
                                                           const platform::ObjectPtr& userData,
                                                           const std::string& multiPartBoundary,
                                                           const std::shared_ptr<HCHttpServiceObserver>& observer)
{
    platform::URLRequest request;
    request.url = urlForPath(baseUrl_, path);
    request.method = method;
    if (body) request.body = body->bytes();
    request.timeoutSeconds = kTimeOutSeconds;
    request.useCookies = useCookies_;
    if (!email.empty()) request.credentials = platform::URLRequest::Credentials{email, password};
    if (!multiPartBoundary.empty())
        request.headers.set("Content-Type", platform::format("multipart/form-data;boundary=%@", multiPartBoundary));

    auto httpRequest = std::make_shared<HCHttpRequest>(request.url, userData, observer);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(httpRequest);
    }
    httpRequest->start(std::move(request), platform::self(this));
    return httpRequest;
}

void HCHttpService::cancelAllRequests()
{
    std::vector<std::shared_ptr<HCHttpRequest>> running;
    {
        std::lock_guard lock(mutex_);
        running.swap(requests_);
    }
    for (const auto& request : running) request->cancelImmediately();
}

void HCHttpService::onFinishedDownloading(const std::shared_ptr<HCHttpRequest>& request)
{
    ended(request, true);
}

void HCHttpService::onFailedDownloading(const std::shared_ptr<HCHttpRequest>& request)
{
    ended(request, false);
}

void HCHttpService::ended(const std::shared_ptr<HCHttpRequest>& request, bool finished)
{
    if (!request) return;
    if (auto hook = hookSlot().get()) hook(request);
    if (auto observer = request->observer()) {
        if (finished)
            observer->onFinishedDownloading(request);
        else
            observer->onFailedDownloading(request);
    }
    forget(request.get());
}

std::vector<std::shared_ptr<HCHttpRequest>> HCHttpService::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

void HCHttpService::forget(const HCHttpRequest* request)
{
    std::lock_guard lock(mutex_);
    std::erase_if(requests_, [request](const auto& r) { return r.get() == request; });
}

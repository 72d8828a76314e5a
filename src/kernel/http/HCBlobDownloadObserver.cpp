#include "kernel/http/HCBlobDownloadObserver.h"

#include <mutex>

#include "kernel/http/HCHttpRequest.h"

namespace {
std::mutex& hooksMutex()
{
    static std::mutex m;
    return m;
}
HCBlobDownloadObserver::UncompressHook& uncompressSlot()
{
    static HCBlobDownloadObserver::UncompressHook hook;
    return hook;
}
HCBlobDownloadObserver::S3ResponseHook& s3ResponseSlot()
{
    static HCBlobDownloadObserver::S3ResponseHook hook;
    return hook;
}

std::shared_ptr<platform::Data> uncompressed(const std::shared_ptr<platform::Data>& body)
{
    HCBlobDownloadObserver::UncompressHook hook;
    {
        std::lock_guard lock(hooksMutex());
        hook = uncompressSlot();
    }
    return hook ? hook(body) : body;
}

platform::ObjectPtr s3Response(const std::shared_ptr<platform::Data>& data, const platform::ObjectPtr& userData, int status)
{
    HCBlobDownloadObserver::S3ResponseHook hook;
    {
        std::lock_guard lock(hooksMutex());
        hook = s3ResponseSlot();
    }
    return hook ? hook(data, userData, status) : nullptr;
}
}  // namespace

HCBlobDownloadObserver::HCBlobDownloadObserver(HCDelegate success, HCDelegate failure, bool s3Response)
    : success_(std::move(success)), failure_(std::move(failure)), s3Response_(s3Response)
{
}

void HCBlobDownloadObserver::setUncompressHook(UncompressHook hook)
{
    std::lock_guard lock(hooksMutex());
    uncompressSlot() = std::move(hook);
}

void HCBlobDownloadObserver::setS3ResponseHook(S3ResponseHook hook)
{
    std::lock_guard lock(hooksMutex());
    s3ResponseSlot() = std::move(hook);
}

void HCBlobDownloadObserver::onFinishedDownloading(const std::shared_ptr<HCHttpRequest>& request)
{
    if (!request) return;
    int status = request->statusCode();
    if (status < 200 || status > 299) {
        fail(request, status);
        return;
    }
    auto body = request->responseData();
    if (s3Response_)
        success_.invoke(s3Response(body, request->userData(), status));
    else
        success_.invoke(uncompressed(body));
}

void HCBlobDownloadObserver::onFailedDownloading(const std::shared_ptr<HCHttpRequest>& request)
{
    if (request) fail(request, 0);
}

void HCBlobDownloadObserver::fail(const std::shared_ptr<HCHttpRequest>& request, int statusCode)
{
    if (s3Response_)
        failure_.invoke(s3Response(nullptr, request->userData(), statusCode));
    else
        failure_.invoke(nullptr);
}

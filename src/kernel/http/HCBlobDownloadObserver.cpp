#include "kernel/http/HCBlobDownloadObserver.h"


#include "kernel/http/HCHttpRequest.h"
#include "platform/runtime/Guarded.h"

namespace {
platform::Guarded<HCBlobDownloadObserver::UncompressHook>& uncompressSlot()
{
    static platform::Guarded<HCBlobDownloadObserver::UncompressHook> hook;
    return hook;
}
platform::Guarded<HCBlobDownloadObserver::S3ResponseHook>& s3ResponseSlot()
{
    static platform::Guarded<HCBlobDownloadObserver::S3ResponseHook> hook;
    return hook;
}

std::shared_ptr<platform::Data> uncompressed(const std::shared_ptr<platform::Data>& body)
{
    auto hook = uncompressSlot().get();
    return hook ? hook(body) : body;
}

platform::ObjectPtr s3Response(const std::shared_ptr<platform::Data>& data, const platform::ObjectPtr& userData, int status)
{
    auto hook = s3ResponseSlot().get();
    return hook ? hook(data, userData, status) : nullptr;
}
}  // namespace

HCBlobDownloadObserver::HCBlobDownloadObserver(HCDelegate success, HCDelegate failure, bool s3Response)
    : success_(std::move(success)), failure_(std::move(failure)), s3Response_(s3Response)
{
}

void HCBlobDownloadObserver::setUncompressHook(UncompressHook hook)
{
    uncompressSlot().set(std::move(hook));
}

void HCBlobDownloadObserver::setS3ResponseHook(S3ResponseHook hook)
{
    s3ResponseSlot().set(std::move(hook));
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
    if (s3Response_) {
        success_.invoke(s3Response(body, request->userData(), status));
        return;
    }
    auto blob = uncompressed(body);
    // Bytes that do not decode are no blob: that is a failure, not an empty success.
    if (body && !blob) {
        fail(request, status);
        return;
    }
    success_.invoke(blob);
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

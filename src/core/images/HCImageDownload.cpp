#include "core/images/HCImageDownload.h"

#include "core/images/HCImageCache.h"
#include "kernel/settings/HCSettings.h"
#include "platform/runtime/ThreadChecker.h"

namespace {

bool isAbsolute(const std::string& url)
{
    return url.starts_with("http") || url.starts_with("www");
}

// "www.host/pic.png" names a host but no scheme; the transfer needs one.
std::string withScheme(const std::string& url)
{
    return url.starts_with("www") ? "http://" + url : url;
}

std::string serviceRoot()
{
    auto settings = HCSettings::Instance();
    return settings ? settings->objectForKey("server-url").value_or("") : "";
}

}  // namespace

HCRequestHandlePtr HCImageDownload::getImageFromUrl(const std::string& url, platform::ui::ImagePtr& cachedImage,
                                                    HCImageDownloadSlots& slots, const HCDelegate& onSuccess,
                                                    const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto cache = HCImageCache::sharedInstance();
    cachedImage = cache ? cache->fetch(url) : nullptr;
    if (cachedImage) return nullptr;
    return downloadImageFromUrl(url, slots, onSuccess, onFailure);
}

HCRequestHandlePtr HCImageDownload::downloadImageFromUrl(const std::string& url, HCImageDownloadSlots& slots,
                                                         const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    destroyHttpService(slots.mHttpService);
    slots.mHttpService = std::make_shared<HCHttpService>(isAbsolute(url) ? std::string() : serviceRoot(), false);
    slots.mHttpServiceObserver = std::make_shared<HCImageViewHttpServiceObserver>(onSuccess, onFailure);
    auto request = slots.mHttpService->startRequest(withScheme(url), "GET", nullptr, slots.mHttpServiceObserver);
    return HCRequestHandle::requestHandle(request);
}

void HCImageDownload::destroyHttpService(HCHttpServicePtr& service)
{
    if (service) service->cancelAllRequests();
    service = nullptr;
}

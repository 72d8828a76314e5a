#pragma once
// Fetching a picture by URL for a resource that shows one (a player's
// picture, a game's icon): from the image cache when it holds the URL,
// otherwise by a plain GET whose handle the caller may register.
//
// The resource keeps the download's HTTP service and observer in an
// HCImageDownloadSlots; a new download replaces both (the old service's
// requests are cancelled). A URL that starts neither with "http" nor with
// "www" (an icon file name of the local store) is fetched below the service
// root; one that starts with "www" is fetched over "http://". The image
// cache is asked with the URL as given, so callers store under that too.
//
// Thread: main (the download's end arrives on the thread that started it).
#include <memory>
#include <optional>
#include <string>

#include "core/images/HCImageViewHttpServiceObserver.h"
#include "kernel/callbacks/HCDelegate.h"
#include "kernel/http/HCHttpService.h"
#include "platform/ui/Image.h"
#include "transport/handles/HCRequestHandle.h"

struct HCImageDownloadSlots {
    HCHttpServicePtr mHttpService;
    HCImageViewHttpServiceObserverPtr mHttpServiceObserver;
};

class HCImageDownload final {
public:
    // The cached image (written to `cachedImage`, answer nil), or a started
    // download whose success callback receives the reply bytes and whose
    // failure callback receives nil.
    static HCRequestHandlePtr getImageFromUrl(const std::string& url, platform::ui::ImagePtr& cachedImage,
                                              HCImageDownloadSlots& slots, const HCDelegate& onSuccess,
                                              const HCDelegate& onFailure);
    static HCRequestHandlePtr downloadImageFromUrl(const std::string& url, HCImageDownloadSlots& slots,
                                                   const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // Cancels the service's requests and lets go of it.
    static void destroyHttpService(HCHttpServicePtr& service);
};

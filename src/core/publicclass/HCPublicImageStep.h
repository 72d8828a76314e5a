#pragma once
// The picture operation of a public class's resource (a player's picture, an
// invitation's or a game's icon), reported to the class's delegate.
//
// A cached image reaches `didGet` before the call returns, and the answer is
// nil. Otherwise the download starts, its handle is registered under the
// class and answered; downloaded bytes that form an image are cached under
// the URL and reach `didGet`; bytes that are no image, a failed download, or
// a nil or empty URL reach `didFail`. Either way the download's observer is
// then let go.
//
// The callbacks hold the resource weakly: a resource the game lets go of
// mid-download takes its download (and its HTTP service) with it, and no
// callback follows.
//
// Thread: main.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/images/HCImageCache.h"
#include "core/images/HCImageDownload.h"
#include "core/publicclass/HCClassDelegate.h"
#include "platform/ui/Image.h"

template <class D>
HCRequestHandlePtr HCPublicImageStep(const HCClassDelegate<D>& classDelegate, const platform::ObjectPtr& resource,
                                     HCImageDownloadSlots& slots, const std::optional<std::string>& url,
                                     std::function<void(D&, const platform::ui::ImagePtr&)> didGet,
                                     std::function<void(D&)> didFail)
{
    const auto ticket = classDelegate.ticket();
    if (!url || url->empty()) {
        classDelegate.notify(ticket, didFail);
        return nullptr;
    }
    std::weak_ptr<platform::Object> owner = resource;
    // The slots are a member of the resource: valid while `owner` locks.
    HCImageDownloadSlots* ownerSlots = &slots;
    auto callbacks = classDelegate.callbacks(
        nullptr,
        [&classDelegate, owner, ownerSlots, url = *url, didGet, didFail](auto started, const platform::ObjectPtr& bytes) {
            auto alive = owner.lock();
            if (!alive) return;
            auto data = platform::as<platform::Data>(bytes);
            auto image = data ? platform::ui::Image::imageWithData(*data) : nullptr;
            if (image) {
                if (auto cache = HCImageCache::sharedInstance()) cache->store(image, url);
                classDelegate.notify(started, [&](D& delegate) { didGet(delegate, image); });
            } else {
                classDelegate.notify(started, didFail);
            }
            ownerSlots->mHttpServiceObserver = nullptr;
        },
        [&classDelegate, owner, ownerSlots, didFail](auto started) {
            auto alive = owner.lock();
            if (!alive) return;
            classDelegate.notify(started, didFail);
            ownerSlots->mHttpServiceObserver = nullptr;
        });
    platform::ui::ImagePtr cached;
    auto handle = HCImageDownload::getImageFromUrl(*url, cached, slots, callbacks.success, callbacks.failure);
    if (cached) {
        classDelegate.notify(ticket, [&](D& delegate) { didGet(delegate, cached); });
        return nullptr;
    }
    return classDelegate.track(handle);
}

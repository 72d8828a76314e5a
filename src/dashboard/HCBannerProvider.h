#pragma once
// A page that shows a banner above itself in the dashboard's frame: the
// framed navigation controller asks the top page, at each refreshBanner,
// whether it has one now, which cell shows it and with what resource, and
// tells it of a tap.
//
// Thread: main thread.
#include <string>

#include "platform/runtime/Object.h"
#include "platform/runtime/OptionalMethods.h"

class HCBannerProvider : public platform::OptionalMethods {
public:
    virtual ~HCBannerProvider() = default;
    virtual bool isBannerAvailableNow() = 0;
    // The cell's short name for the controller loader.
    virtual std::string bannerCellControllerName() = 0;
    // Nil for a cell that finds its own content.
    virtual platform::ObjectPtr getBannerResource() = 0;
    virtual void onBannerClicked() = 0;
    // Optional: a touch on the picture of a player banner. A provider
    // without it gets onBannerClicked.
    virtual void bannerProfilePictureTouched() { notImplemented(); }
};

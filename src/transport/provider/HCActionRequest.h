#pragma once
// One queued service action: the signed request's loader, the request type
// and the banner notice.
//
// Request types: 0 silent, 1 and 2 with a progress banner, 3 silent and
// without the provider's HTTP-error screens.
//
// Thread: dispatch() runs on the provider's request thread; the log-in flow
// asks failedNotAuthorized() and calls abandonInLightOfASeriousError() on the
// main thread.
#include <functional>
#include <memory>

#include "platform/runtime/Object.h"
#include "transport/oauth/OAuthAPIRequestLoader.h"

class HCActionRequest final : public platform::Object {
public:
    enum RequestType { kSilent = 0, kBanner = 1, kBannerAlternate = 2, kNoErrorScreens = 3 };

    HCActionRequest(OAuthAPIRequestLoaderPtr loader, int requestType, platform::ObjectPtr notice);

    const OAuthAPIRequestLoaderPtr& loader() const { return loader_; }
    int requestType() const { return requestType_; }
    const platform::ObjectPtr& notice() const { return notice_; }
    bool showsBanner() const { return requestType_ == kBanner || requestType_ == kBannerAlternate; }

    // Starts the request: banner requests are handed to the banner layer
    // (which starts them on the main thread) unless the full-screen dashboard
    // is up; all others start here, on the request thread.
    void dispatch();

    // YES when the reply was 401 Not Authorized.
    bool failedNotAuthorized() const;
    // Gives up on the request: its failure reaches the caller now.
    void abandonInLightOfASeriousError();
    // What abandoning does; set by the provider when it holds the failure back.
    void setAbandonAction(std::function<void()> action) { abandonAction_ = std::move(action); }

private:
    OAuthAPIRequestLoaderPtr loader_;
    int requestType_;
    platform::ObjectPtr notice_;
    std::function<void()> abandonAction_;
};

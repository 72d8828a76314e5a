#pragma once
// A banner of a discovery page ("game_discovery_image_hyperlink"): an image
// shown for a few seconds that leads to another discovery page, to an
// in-application purchase, or to both (the banner cell decides which wins).
//
// Thread: built on the thread that reads its reply (the provider's request
// thread), then used by one thread at a time (the main thread); no lock.
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"

class HCGameDiscoveryImageHyperlink final : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "game_discovery_image_hyperlink"; }
    std::string getResourceDiscoveredNotification() const override { return std::string(); }
    const HCResourceDataMap& getDataMap() const override;

    // A non-empty page name / purchase id.
    bool isCategoryLink() const { return targetDiscoveryActionName_ && !targetDiscoveryActionName_->empty(); }
    bool isIPurchaseLink() const
    {
        return targetApplicationIPurchaseId_ && !targetApplicationIPurchaseId_->empty();
    }

    float secondsToDisplay() const { return secondsToDisplay_; }
    const Text& imageUrl() const { return imageUrl_; }
    const Text& targetDiscoveryActionName() const { return targetDiscoveryActionName_; }
    const Text& targetDiscoveryPageTitle() const { return targetDiscoveryPageTitle_; }
    const Text& targetApplicationIPurchaseId() const { return targetApplicationIPurchaseId_; }
    const Text& appBannerPlacement() const { return appBannerPlacement_; }

    // The leading decimal number, fraction kept; 0 when there is none.
    void setSecondsToDisplayFromString(const Text& text);
    void setImageUrl(const Text& text) { imageUrl_ = text; }
    void setTargetDiscoveryActionName(const Text& text) { targetDiscoveryActionName_ = text; }
    void setTargetDiscoveryPageTitle(const Text& text) { targetDiscoveryPageTitle_ = text; }
    void setTargetApplicationIPurchaseId(const Text& text) { targetApplicationIPurchaseId_ = text; }
    void setAppBannerPlacement(const Text& text) { appBannerPlacement_ = text; }

private:
    float secondsToDisplay_ = 0;
    Text imageUrl_;
    Text targetDiscoveryActionName_;
    Text targetDiscoveryPageTitle_;
    Text targetApplicationIPurchaseId_;
    Text appBannerPlacement_;
};

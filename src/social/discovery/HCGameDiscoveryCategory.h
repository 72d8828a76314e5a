#pragma once
// An entry of a discovery page ("game_discovery_category") that opens
// another discovery page, named by targetDiscoveryActionName.
//
// Thread: built on the thread that reads its reply (the provider's request
// thread), then used by one thread at a time (the main thread); no lock.
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"

class HCGameDiscoveryCategory final : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "game_discovery_category"; }
    std::string getResourceDiscoveredNotification() const override { return std::string(); }
    const HCResourceDataMap& getDataMap() const override;

    const Text& iconUrl() const { return iconUrl_; }
    const Text& name() const { return name_; }
    const Text& subtext() const { return subtext_; }
    const Text& secondaryText() const { return secondaryText_; }
    const Text& targetDiscoveryActionName() const { return targetDiscoveryActionName_; }
    const Text& targetDiscoveryPageTitle() const { return targetDiscoveryPageTitle_; }

    void setIconUrl(const Text& text) { iconUrl_ = text; }
    void setName(const Text& text) { name_ = text; }
    void setSubtext(const Text& text) { subtext_ = text; }
    void setSecondaryText(const Text& text) { secondaryText_ = text; }
    void setTargetDiscoveryActionName(const Text& text) { targetDiscoveryActionName_ = text; }
    void setTargetDiscoveryPageTitle(const Text& text) { targetDiscoveryPageTitle_ = text; }

private:
    Text iconUrl_;
    Text name_;
    Text subtext_;
    Text secondaryText_;
    Text targetDiscoveryActionName_;
    Text targetDiscoveryPageTitle_;
};

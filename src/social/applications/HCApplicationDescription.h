#pragma once
// A game's store description: name, icon, store id, price, version and the
// brief and extended texts.
//
// Thread: built on the thread that reads its reply, then used by one thread
// at a time; no lock.
#include <optional>
#include <string>

#include "core/resources/HCResource.h"

class HCApplicationDescription final : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::string getResourceName() const override { return "application_description"; }
    std::string getResourceDiscoveredNotification() const override { return std::string(); }
    const HCResourceDataMap& getDataMap() const override;
    std::shared_ptr<HCService> getService() const override;

    const Text& name() const { return name_; }
    const Text& iconUrl() const { return iconUrl_; }
    const Text& itunesId() const { return itunesId_; }
    const Text& price() const { return price_; }
    const Text& currentVersion() const { return currentVersion_; }
    const Text& briefDescription() const { return briefDescription_; }
    const Text& extendedDescription() const { return extendedDescription_; }
    const Text& applicationId() const { return applicationId_; }

    void setName(const Text& text) { name_ = text; }
    // An empty text leaves the icon nil.
    void setIconUrl(const Text& text);
    void setItunesId(const Text& text) { itunesId_ = text; }
    void setPrice(const Text& text) { price_ = text; }
    void setCurrentVersion(const Text& text) { currentVersion_ = text; }
    void setBriefDescription(const Text& text) { briefDescription_ = text; }
    void setExtendedDescription(const Text& text) { extendedDescription_ = text; }
    void setApplicationId(const Text& text) { applicationId_ = text; }

private:
    Text name_;
    Text iconUrl_;
    Text itunesId_;
    Text price_;
    Text currentVersion_;
    Text briefDescription_;
    Text extendedDescription_;
    Text applicationId_;
};

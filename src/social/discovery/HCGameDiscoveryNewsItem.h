#pragma once
// A news line of a discovery page ("game_discovery_news_item").
//
// Thread: built on the thread that reads its reply (the provider's request
// thread), then used by one thread at a time (the main thread); no lock.
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"

class HCGameDiscoveryNewsItem final : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "game_discovery_news_item"; }
    std::string getResourceDiscoveredNotification() const override { return std::string(); }
    const HCResourceDataMap& getDataMap() const override;

    const Text& iconUrl() const { return iconUrl_; }
    const Text& title() const { return title_; }
    const Text& subtitle() const { return subtitle_; }
    void setIconUrl(const Text& text) { iconUrl_ = text; }
    void setTitle(const Text& text) { title_ = text; }
    void setSubtitle(const Text& text) { subtitle_ = text; }

private:
    Text iconUrl_;
    Text title_;
    Text subtitle_;
};

#pragma once
// Where a notification image lives ("image_url").
//
// Thread: read on the provider's request thread, then used on the main thread.
#include <optional>
#include <string>

#include "core/resources/HCResource.h"

class HCImageUrl final : public HCResource {
public:
    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "image_url"; }
    std::string getResourceDiscoveredNotification() const override { return std::string(); }
    const HCResourceDataMap& getDataMap() const override;

    const std::optional<std::string>& url() const { return url_; }
    void setUrl(const std::optional<std::string>& text) { url_ = text; }

private:
    std::optional<std::string> url_;
};

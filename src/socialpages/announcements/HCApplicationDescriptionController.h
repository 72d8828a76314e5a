#pragma once
// The server's web page about a game ("ApplicationDescription"), with where
// the player came from sent as "app_banner_placement".
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dashboard/HCWebViewController.h"

class HCApplicationDescriptionController : public HCWebViewController {
public:
    static std::shared_ptr<HCApplicationDescriptionController> applicationDescriptionForId(
        const std::optional<std::string>& resourceId, const std::optional<std::string>& appBannerPlacement);

    const std::optional<std::string>& resourceId() const { return resourceId_; }
    void setResourceId(std::optional<std::string> id) { resourceId_ = std::move(id); }
    const std::optional<std::string>& appBannerPlacement() const { return appBannerPlacement_; }
    void setAppBannerPlacement(std::optional<std::string> placement) { appBannerPlacement_ = std::move(placement); }

    std::string getAction() override;
    std::vector<std::pair<std::string, std::string>> getParameters() override;
    std::string getTitle() override { return "Info"; }
    std::optional<std::string> notificationString() override { return "Downloaded Application Description"; }

    std::string kindName() const override { return "HCApplicationDescriptionController"; }

private:
    std::optional<std::string> resourceId_;
    std::optional<std::string> appBannerPlacement_;
};

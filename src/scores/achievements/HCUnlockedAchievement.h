#pragma once
// One entry of the server's answer to an unlock upload: the achievement it
// concerns (id, gamerscore, unlock date), whether the server refused it
// ("invalid") and the progress the server now holds.
//
// Thread: filled on the provider's request thread, then read on the main thread.
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"

class HCAchievement;

class HCUnlockedAchievement final : public HCResource {
public:
    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "unlocked_achievement"; }
    std::string getResourceDiscoveredNotification() const override { return {}; }
    const HCResourceDataMap& getDataMap() const override;

    const std::shared_ptr<HCAchievement>& achievement() const { return achievement_; }
    bool isInvalidResult() const { return isInvalidResult_; }
    double percentComplete() const { return percentComplete_; }

    void setAchievement(const std::shared_ptr<HCAchievement>& achievement) { achievement_ = achievement; }
    void setResult(const std::optional<std::string>& text) { isInvalidResult_ = text && *text == "invalid"; }
    void setPercentComplete(const std::string& text);

private:
    std::shared_ptr<HCAchievement> achievement_;
    bool isInvalidResult_ = false;
    double percentComplete_ = 0.0;
};

#pragma once
// A player's gamer score ("gamerscore"). A text that is no number, or a
// negative one, reads as 0: wrapped round it would show a score in billions.
//
// Thread: read on the provider's request thread, then used on the main thread.
#include <cstdint>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"

class HCGamerscore final : public HCResource {
public:
    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "gamerscore"; }
    std::string getResourceDiscoveredNotification() const override { return "halcyon_gamerscore_discovered"; }
    const HCResourceDataMap& getDataMap() const override;

    uint32_t userId() const { return userId_; }
    uint32_t gamerscore() const { return gamerscore_; }
    void setUserIdFromString(const std::optional<std::string>& text);
    void setGamerscoreFromString(const std::optional<std::string>& text);

private:
    uint32_t userId_ = 0;
    uint32_t gamerscore_ = 0;
};

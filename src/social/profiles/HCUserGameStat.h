#pragma once
// One player's standing in one game ("user_game_stat"): whether the player
// has it, the score earned in it, whether it is a favourite. Nested in the
// games of a profile; no service of its own.
//
// Thread: read on the provider's request thread, then used on the main thread.
#include <cstdint>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"

class HCUserGameStat final : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::shared_ptr<HCService> getService() const override { return nullptr; }
    std::string getResourceName() const override { return "user_game_stat"; }
    std::string getResourceDiscoveredNotification() const override { return "halcyon_user_game_stat_discovered"; }
    const HCResourceDataMap& getDataMap() const override;

    bool userHasGame() const { return userHasGame_; }
    const Text& userId() const { return userId_; }
    uint32_t userGamerScore() const { return userGamerScore_; }
    bool userFavoritedGame() const { return userFavoritedGame_; }
    void setUserHasGameFromString(const Text& text);
    void setUserId(const Text& text) { userId_ = text; }
    void setUserGamerScoreFromString(const Text& text);
    void setUserFavoritedGameFromString(const Text& text);

private:
    bool userHasGame_ = false;
    Text userId_;
    uint32_t userGamerScore_ = 0;
    bool userFavoritedGame_ = false;
};

#pragma once
// A game's profile info with the scores of two players in it (the local
// player's and the compared player's).
//
// Thread: built on the thread that reads its reply, then used by one thread
// at a time; no lock.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"
#include "core/users/HCGameProfilePageInfo.h"

class HCGameProfilePageComparisonInfo final : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::string getResourceName() const override { return "game_profile_page_comparison_info"; }
    std::string getResourceDiscoveredNotification() const override { return std::string(); }
    const HCResourceDataMap& getDataMap() const override;

    const HCGameProfilePageInfoPtr& gameProfilePageInfo() const { return gameProfilePageInfo_; }
    int32_t localUsersAchievementsScore() const { return scores_[0]; }
    int32_t comparedUsersAchievementsScore() const { return scores_[1]; }
    int32_t localUsersChallengesScore() const { return scores_[2]; }
    int32_t comparedUsersChallengesScore() const { return scores_[3]; }
    int32_t localUsersLeaderboardsScore() const { return scores_[4]; }
    int32_t comparedUsersLeaderboardsScore() const { return scores_[5]; }

    void setGameProfilePageInfo(HCGameProfilePageInfoPtr info) { gameProfilePageInfo_ = std::move(info); }

private:
    HCGameProfilePageInfoPtr gameProfilePageInfo_;
    int32_t scores_[6] = {};
};

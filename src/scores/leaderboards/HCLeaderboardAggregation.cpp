#include "scores/leaderboards/HCLeaderboardAggregation.h"

#include "kernel/resources/HCResourceDataMap.h"
#include "scores/leaderboards/HCLeaderboardService.h"

std::shared_ptr<HCService> HCLeaderboardAggregation::getService() const
{
    return HCLeaderboardService::sharedInstance();
}

const HCResourceDataMap& HCLeaderboardAggregation::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("aggregate_leaderboard_id", &HCLeaderboardAggregation::setAggregateLeaderboardId);
        m->addField("leaderboard_pushing_changes_id", &HCLeaderboardAggregation::setLeaderboardPushingChangesId);
        return m;
    }();
    return *map;
}

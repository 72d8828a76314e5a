#include "scores/offline/HCOffline.h"

#include "kernel/resources/HCResourceDataMap.h"
#include "scores/offline/HCOfflineService.h"

std::shared_ptr<HCService> HCOffline::getService() const
{
    return HCOfflineService::sharedInstance();
}

const HCResourceDataMap& HCOffline::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addNestedResourceArrayField("achievements", &HCOffline::setAchievements);
        m->addNestedResourceArrayField("leaderboards", &HCOffline::setLeaderboards);
        m->addNestedResourceArrayField("leaderboard_aggregations", &HCOffline::setLeaderboardAggregations);
        return m;
    }();
    return *map;
}

#pragma once
// One aggregation link: the leaderboard `leaderboardPushingChangesId` adds
// its players' improvements to the aggregate `aggregateLeaderboardId`. Read
// from the bootstrap reply's "offline" block and the offline configuration
// file.
//
// Thread: built on the thread that reads its reply, then used by one thread
// at a time; it has no lock.
#include <optional>
#include <string>

#include "core/resources/HCResource.h"

class HCLeaderboardAggregation final : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "leaderboard_aggregation"; }
    std::string getResourceDiscoveredNotification() const override
    {
        return "halcyon_leaderboard_aggregations_discovered";
    }
    const HCResourceDataMap& getDataMap() const override;

    const Text& aggregateLeaderboardId() const { return aggregateLeaderboardId_; }
    const Text& leaderboardPushingChangesId() const { return leaderboardPushingChangesId_; }
    void setAggregateLeaderboardId(const Text& text) { aggregateLeaderboardId_ = text; }
    void setLeaderboardPushingChangesId(const Text& text) { leaderboardPushingChangesId_ = text; }

private:
    Text aggregateLeaderboardId_;
    Text leaderboardPushingChangesId_;
};

#pragma once
// The "offline" block of a bootstrap reply and of the offline configuration
// file: the game's achievements, leaderboard definitions and aggregation
// links, each a nested array of resources read through the offline
// service's name map.
//
// Thread: built on the thread that reads it, then used by one thread at a
// time; it has no lock.
#include <memory>

#include "core/resources/HCResource.h"
#include "platform/foundation/Values.h"

class HCOffline final : public HCResource {
public:
    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "offline"; }
    const HCResourceDataMap& getDataMap() const override;

    // Never nil: an empty array when the block had none.
    std::shared_ptr<platform::Array> achievements() const { return orEmpty(achievements_); }
    std::shared_ptr<platform::Array> leaderboards() const { return orEmpty(leaderboards_); }
    std::shared_ptr<platform::Array> leaderboardAggregations() const { return orEmpty(leaderboardAggregations_); }

    void setAchievements(std::shared_ptr<platform::Array> array) { achievements_ = std::move(array); }
    void setLeaderboards(std::shared_ptr<platform::Array> array) { leaderboards_ = std::move(array); }
    void setLeaderboardAggregations(std::shared_ptr<platform::Array> array)
    {
        leaderboardAggregations_ = std::move(array);
    }

private:
    static std::shared_ptr<platform::Array> orEmpty(const std::shared_ptr<platform::Array>& array)
    {
        return array ? array : platform::Array::make();
    }

    std::shared_ptr<platform::Array> achievements_;
    std::shared_ptr<platform::Array> leaderboards_;
    std::shared_ptr<platform::Array> leaderboardAggregations_;
};

#pragma once
// One leaderboard as the game and the dashboard see it: its name and sort
// order with the local player's score and, on comparison pages, another
// player's. Read from "leaderboard" elements of the list reply, or built
// from a row of the local copy while offline. The inherited resourceId is
// the leaderboard id.
//
// Thread: filled where it is read (replies: the provider's request thread;
// local rows: the main thread), then handed on whole; one thread at a time.
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"
#include "kernel/callbacks/HCCallbackable.h"

class HCHighScore;
class HCSqlQuery;

class HCLeaderboard final : public HCResource, public HCCallbackable {
public:
    using Text = std::optional<std::string>;

    // A leaderboard from the current row of a `leaderboards` query ("id",
    // "name", "descending_sort_order") with the two scores (either nil).
    static std::shared_ptr<HCLeaderboard> initWithLocalSQL(const HCSqlQuery& row,
                                                           std::shared_ptr<HCHighScore> localUserScore,
                                                           std::shared_ptr<HCHighScore> comparedUserScore);

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "leaderboard"; }
    std::string getResourceDiscoveredNotification() const override { return "halcyon_leaderboard_discovered"; }
    const HCResourceDataMap& getDataMap() const override;
    bool canReceiveCallbacksNow() const override { return true; }

    const Text& leaderboardId() const { return resourceId(); }
    const Text& name() const { return name_; }
    bool descendingScoreOrder() const { return descendingScoreOrder_; }
    const std::shared_ptr<HCHighScore>& currentUserScore() const { return currentUserScore_; }
    const std::shared_ptr<HCHighScore>& comparedUserScore() const { return comparedUserScore_; }

    // Data-map setters.
    void setName(const Text& text) { name_ = text; }
    void setDescendingScoreOrder(const std::string& text);
    void setCurrentUsersScore(std::shared_ptr<HCHighScore> score) { currentUserScore_ = std::move(score); }
    void setComparedToUsersScore(std::shared_ptr<HCHighScore> score) { comparedUserScore_ = std::move(score); }

private:
    Text name_;
    bool descendingScoreOrder_ = false;
    std::shared_ptr<HCHighScore> currentUserScore_;
    std::shared_ptr<HCHighScore> comparedUserScore_;
};

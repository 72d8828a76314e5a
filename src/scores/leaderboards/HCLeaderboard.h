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
#include <vector>

#include "core/resources/HCResource.h"
#include "kernel/callbacks/HCCallbackable.h"

class HCHighScore;
class HCLeaderboardDelegate;
class HCRequestHandle;
class HCUser;
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

    // --- The game's interface (main thread; outcomes reach the class
    // delegate, see HCClassDelegate) ---------------------------------------
    static void setDelegate(HCLeaderboardDelegate* delegate);
    // The local definition without scores; nil when not stored here.
    static std::shared_ptr<HCLeaderboard> leaderboard(const Text& leaderboardId);
    // The active local leaderboards, each with the player's local best.
    static std::vector<std::shared_ptr<HCLeaderboard>> leaderboards();
    // The player's best local score here (rank 1), or nil.
    std::shared_ptr<HCHighScore> highScoreForCurrentUser() const;
    // The player's stored scores here, best first, ranked from 1.
    std::vector<std::shared_ptr<HCHighScore>> locallySubmittedScores() const;
    // Page 1 of 25 from the service, friends only for filter 1.
    std::shared_ptr<HCRequestHandle> downloadHighScoresWithFilter(int filter);
    // Submits the score's number and texts, without its blob and without a
    // callback.
    void submitScore(const std::shared_ptr<HCHighScore>& score);
    bool isComparison() const { return comparedUserScore_ != nullptr; }
    std::shared_ptr<HCUser> comparedToUser() const;
    int filter() const { return filter_; }

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
    int filter_ = 0;
};

#pragma once
// What the local score store asks of the leaderboard definitions kept in the
// same database: a board's order and flags, the aggregates it feeds, and the
// user's last server sync time. The offline store answers it from its
// leaderboard tables; tests answer it from their own rows.
//
// Thread: called on the thread of the database handle the store writes with;
// an implementation answers from that thread's handle.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct HCLeaderboardFacts {
    bool descendingSortOrder = true;
    bool allowPostingLowerScores = false;
    bool isAggregate = false;
};

class HCHighScoreLeaderboards {
public:
    virtual ~HCHighScoreLeaderboards() = default;
    // Nothing when the board is not known locally.
    virtual std::optional<HCLeaderboardFacts> details(const std::string& leaderboardId) = 0;
    // The active aggregate boards that the board feeds.
    virtual std::vector<std::string> aggregateParents(const std::string& leaderboardId) = 0;
    // Whole seconds since 1970 of the user's last sync; 0 when never.
    virtual std::int64_t lastSyncUnix(const std::string& userId) = 0;
};

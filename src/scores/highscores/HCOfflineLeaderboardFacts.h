#pragma once
// The leaderboard facts of the local store, read from the offline
// database's leaderboard copy through the leaderboard service, on the
// calling thread's connection.
//
// Thread: either connection's thread; it holds nothing.
#include "scores/highscores/HCHighScoreLeaderboards.h"

class HCOfflineLeaderboardFacts final : public HCHighScoreLeaderboards {
public:
    std::optional<HCLeaderboardFacts> details(const std::string& leaderboardId) override;
    std::vector<std::string> aggregateParents(const std::string& leaderboardId) override;
    std::int64_t lastSyncUnix(const std::string& userId) override;
};

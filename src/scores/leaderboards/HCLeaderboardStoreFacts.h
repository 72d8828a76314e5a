#pragma once
// The local score store's view of the leaderboard copy: a board's order and
// flags, the active aggregates it feeds, the user's last sync time, each read
// through HCLeaderboardService on the calling thread's connection.
//
// Thread: main thread or the provider's request thread (the connection of
// the caller).
#include "scores/highscores/HCHighScoreLeaderboards.h"

class HCLeaderboardStoreFacts final : public HCHighScoreLeaderboards {
public:
    std::optional<HCLeaderboardFacts> details(const std::string& leaderboardId) override;
    std::vector<std::string> aggregateParents(const std::string& leaderboardId) override;
    std::int64_t lastSyncUnix(const std::string& userId) override;
};

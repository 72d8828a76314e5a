#include "scores/highscores/HCOfflineLeaderboardFacts.h"

#include "platform/foundation/TextConversions.h"
#include "scores/leaderboards/HCLeaderboardService.h"
#include "scores/leaderboards/HCLeaderboard_Sync.h"

std::optional<HCLeaderboardFacts> HCOfflineLeaderboardFacts::details(const std::string& leaderboardId)
{
    auto board = HCLeaderboardService::getLeaderboardDetails(leaderboardId);
    if (!board) {
        return std::nullopt;
    }
    return HCLeaderboardFacts{board->descendingSortOrder(), board->allowPostingLowerScores(), board->isAggregate()};
}

std::vector<std::string> HCOfflineLeaderboardFacts::aggregateParents(const std::string& leaderboardId)
{
    std::vector<std::string> ids;
    for (const auto& parent : HCLeaderboardService::getAggregateParents(leaderboardId)) {
        if (parent && parent->resourceId()) {
            ids.push_back(*parent->resourceId());
        }
    }
    return ids;
}

std::int64_t HCOfflineLeaderboardFacts::lastSyncUnix(const std::string& userId)
{
    return platform::longLongValue(HCLeaderboardService::getLastSyncDateUnixForUserId(userId));
}

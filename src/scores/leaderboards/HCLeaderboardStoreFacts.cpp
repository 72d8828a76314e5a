#include "scores/leaderboards/HCLeaderboardStoreFacts.h"

#include "platform/foundation/TextConversions.h"
#include "scores/leaderboards/HCLeaderboardService.h"
#include "scores/leaderboards/HCLeaderboard_Sync.h"

std::optional<HCLeaderboardFacts> HCLeaderboardStoreFacts::details(const std::string& leaderboardId)
{
    auto details = HCLeaderboardService::getLeaderboardDetails(leaderboardId);
    if (!details) return std::nullopt;
    HCLeaderboardFacts facts;
    facts.descendingSortOrder = details->descendingSortOrder();
    facts.allowPostingLowerScores = details->allowPostingLowerScores();
    facts.isAggregate = details->isAggregate();
    return facts;
}

std::vector<std::string> HCLeaderboardStoreFacts::aggregateParents(const std::string& leaderboardId)
{
    std::vector<std::string> ids;
    for (const auto& parent : HCLeaderboardService::getAggregateParents(leaderboardId)) {
        if (parent->resourceId()) ids.push_back(*parent->resourceId());
    }
    return ids;
}

std::int64_t HCLeaderboardStoreFacts::lastSyncUnix(const std::string& userId)
{
    return platform::longLongValue(HCLeaderboardService::getLastSyncDateUnixForUserId(userId));
}

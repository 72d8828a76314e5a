#include "core/halcyon/Halcyon.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/highscores/HCGameCenterScoreMerge.h"
#include "scores/leaderboards/HCLeaderboard.h"
#include "scores/leaderboards/HCLeaderboardService.h"

std::shared_ptr<HCPaginatedSeries> Halcyon::_combineGameCenterScope(unsigned timeScope,
                                                                    const std::shared_ptr<HCPaginatedSeries>& page)
{
    HC_CHECK_MAIN_THREAD();
    // A board missing from the local copy merges low scores first, as an
    // ascending board does.
    auto board = HCLeaderboardService::getLeaderboard(getGameCenterCurrentLeaderboardId());
    const bool descending = board && board->descendingScoreOrder();
    return HCGameCenterScoreMerge::combineScope(getGameCenterScores(static_cast<int>(timeScope)), page, descending);
}

std::shared_ptr<HCPaginatedSeries> Halcyon::combinedGameCenterForLeaderboardId(
    const std::string& leaderboardId, unsigned timeScope, const std::shared_ptr<HCPaginatedSeries>& globals,
    const std::shared_ptr<HCPaginatedSeries>& friends)
{
    HC_CHECK_MAIN_THREAD();
    auto category = getGameCenterLeaderboardCategory(leaderboardId);
    HCGameCenterScoreMerge::ScopeMerge merge;
    if (sharedInstance() && category && category == getGameCenterCurrentCategory()) {
        merge = [timeScope](const std::shared_ptr<HCPaginatedSeries>& page) {
            return _combineGameCenterScope(timeScope, page);
        };
    }
    return HCGameCenterScoreMerge::combineSections(globals, friends, merge);
}

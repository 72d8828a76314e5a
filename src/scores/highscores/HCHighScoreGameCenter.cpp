#include "scores/highscores/HCHighScoreGameCenter.h"

#include "core/halcyon/Halcyon.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/highscores/HCHighScoreBatchEntry.h"

namespace {

class BridgedGameCenter final : public HCHighScoreGameCenter {
public:
    bool isLoggedIntoGameCenter() override { return Halcyon::isLoggedIntoGameCenter(); }
    std::optional<std::string> gameCenterCategory(const std::string& leaderboardId) override
    {
        return Halcyon::getGameCenterLeaderboardCategory(leaderboardId);
    }
    platform::DatePtr submitScore(std::int64_t value, const std::string& category,
                                  std::function<void(bool ok)> done) override
    {
        return Halcyon::submitScoreToGameCenter(value, category, [done](const auto& error) {
            if (done) done(!error);
        });
    }
    bool isSynchedWithGameCenterLeaderboards() override { return Halcyon::isSynchedWithGameCenterLeaderboards(); }
    void setSynchWithGameCenterLeaderboards(bool synched) override
    {
        Halcyon::setSynchWithGameCenterLeaderboards(synched);
    }
    std::vector<std::string> mappedLeaderboardIds() override { return Halcyon::getGameCenterMappedLeaderboardIds(); }
};

}  // namespace

std::shared_ptr<HCHighScoreGameCenter> HCHighScoreGameCenter::bridge()
{
    static const auto instance = std::make_shared<BridgedGameCenter>();
    return instance;
}

void HCSubmitHighScoreToGameCenterOnly(HCHighScoreGameCenter& gameCenter,
                                       const std::vector<HCPointer<HCHighScoreBatchEntry>>& scores)
{
    HC_CHECK_MAIN_THREAD();
    for (const auto& entry : scores) {
        if (!entry || !entry->mLeaderboardId) continue;
        if (auto category = gameCenter.gameCenterCategory(*entry->mLeaderboardId)) {
            gameCenter.submitScore(entry->mScore, *category, nullptr);
        }
    }
}

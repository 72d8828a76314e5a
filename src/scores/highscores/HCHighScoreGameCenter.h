#pragma once
// What score submission asks of Game Center. Unless a test sets its own
// (HCHighScoreService::setGameCenter), it is the client's Game Center bridge,
// which counts as signed out while Game Center is not in use.
//
// Thread: main thread.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kernel/memory/HCSmartObject.h"
#include "platform/foundation/Date.h"

class HCHighScoreBatchEntry;

class HCHighScoreGameCenter {
public:
    virtual ~HCHighScoreGameCenter() = default;

    virtual bool isLoggedIntoGameCenter() = 0;
    // The Game Center category a service leaderboard maps to; nil for none.
    virtual std::optional<std::string> gameCenterCategory(const std::string& leaderboardId) = 0;
    // Reports one score; `done` runs once, on a later main run loop turn.
    // Answers the report's date, which the batch then carries.
    virtual platform::DatePtr submitScore(std::int64_t value, const std::string& category,
                                          std::function<void(bool ok)> done) = 0;

    // The once-per-installation catch-up of the local best scores.
    virtual bool isSynchedWithGameCenterLeaderboards() = 0;
    virtual void setSynchWithGameCenterLeaderboards(bool synched) = 0;
    // The SDK leaderboard ids that the bundle's Game Center map names.
    virtual std::vector<std::string> mappedLeaderboardIds() = 0;

    // The client's bridge.
    static std::shared_ptr<HCHighScoreGameCenter> bridge();
};

// Reports scores to Game Center alone, for a player who has not taken up the
// online features: every entry whose board maps to Game Center; no answer.
//
// Thread: main thread.
void HCSubmitHighScoreToGameCenterOnly(HCHighScoreGameCenter& gameCenter,
                                       const std::vector<HCPointer<HCHighScoreBatchEntry>>& scores);

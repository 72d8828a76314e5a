#pragma once
// What score submission asks of Game Center. The Game Center bridge fills it
// once it exists; until one is installed Game Center counts as signed out,
// so nothing is mirrored and the catch-up never runs.
//
// Thread: main thread.
#include <map>
#include <string>
#include <vector>

#include "kernel/memory/HCSmartObject.h"
#include "platform/foundation/Date.h"

class HCHighScoreBatchEntry;

class HCHighScoreGameCenter {
public:
    virtual ~HCHighScoreGameCenter() = default;

    virtual bool isLoggedIntoGameCenter() = 0;
    // Reports the scores to Game Center alone (a player who has not approved
    // the service); no answer comes back.
    virtual void submitToGameCenterOnly(const std::vector<HCPointer<HCHighScoreBatchEntry>>& scores) = 0;
    // Mirrors a batch that goes to the service as well; answers the date of
    // each report by leaderboard id, which the batch then carries.
    virtual std::map<std::string, platform::DatePtr> mirrorBatch(
        const std::vector<HCPointer<HCHighScoreBatchEntry>>& scores) = 0;

    // The once-per-installation catch-up of the local best scores.
    virtual bool isSynchedWithGameCenterLeaderboards() = 0;
    virtual void setSynchWithGameCenterLeaderboards(bool synched) = 0;
    // The SDK leaderboard ids that the bundle's Game Center map names.
    virtual std::vector<std::string> mappedLeaderboardIds() = 0;
};

#include "scores/highscores/HCHighScoreBatchEntry.h"

#include "kernel/io/HCISerializer.h"

void HCHighScoreBatchEntry::serialize(HCISerializer* serializer) const
{
    serializer->io("leaderboard_id", mLeaderboardId.value_or(std::string()));
    serializer->io("score", static_cast<long long>(mScore));
    serializer->io("display_text", mDisplayText);
    serializer->io("custom_data", mCustomData);
    serializer->io("has_blob", mBlob != nullptr);
    if (mGameCenterDate) {
        serializer->io("gamecenter_timestamp", static_cast<unsigned>(mGameCenterDate->timeIntervalSince1970()));
    }
}

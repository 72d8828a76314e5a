#pragma once
// One score to send in a batch, written into the batch POST as the fields of
// one "high_scores" series element: leaderboard_id, score, display_text and
// custom_data when given, has_blob, gamecenter_timestamp when set.
//
// Thread: made and serialised on the main thread.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "kernel/memory/HCSmartObject.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/Values.h"

class HCISerializer;

class HCHighScoreBatchEntry final : public HCSmartObject {
public:
    HCHighScoreBatchEntry() = default;
    HCHighScoreBatchEntry(std::optional<std::string> leaderboardId, std::int64_t score,
                          std::optional<std::string> displayText, std::optional<std::string> customData,
                          std::shared_ptr<platform::Data> blob)
        : mLeaderboardId(std::move(leaderboardId)), mDisplayText(std::move(displayText)),
          mCustomData(std::move(customData)), mBlob(std::move(blob)), mScore(score)
    {
    }

    // The form a serializer's generic series reader makes: every field empty,
    // then handed to serialize(). The kernel's serializers only write, so
    // this writes the empty entry's fields; nothing in the client reads
    // batches back.
    explicit HCHighScoreBatchEntry(HCISerializer* serializer) { serialize(serializer); }

    void serialize(HCISerializer* serializer) const;

    std::optional<std::string> mLeaderboardId;
    std::optional<std::string> mDisplayText;
    std::optional<std::string> mCustomData;
    std::shared_ptr<platform::Data> mBlob;
    platform::DatePtr mGameCenterDate;
    std::int64_t mScore = 0;
};

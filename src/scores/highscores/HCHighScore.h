#pragma once
// One score on one leaderboard: read from "high_score" elements of replies
// (a submission's reply lists the accepted scores, each with its player and,
// when the service wants the attachment, its upload parameters) or built
// from a row of the local table.
//
// Thread: filled where it is read (replies: the provider's request thread;
// local rows: the main thread), then handed on whole.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"
#include "platform/foundation/Values.h"

class HCS3UploadParameters;
class HCUser;
struct HCLocalScoreRow;

class HCHighScore final : public HCResource {
public:
    // A local row: every local score has the resource id "1".
    static std::shared_ptr<HCHighScore> initWithLocalSQL(const HCLocalScoreRow& row, std::shared_ptr<HCUser> user,
                                                         int rank);

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "high_score"; }
    std::string getResourceDiscoveredNotification() const override { return "halcyon_high_score_discovered"; }
    const HCResourceDataMap& getDataMap() const override;

    const std::shared_ptr<HCUser>& user() const { return user_; }
    std::int64_t score() const { return score_; }
    int rank() const { return rank_; }
    const std::optional<std::string>& leaderboardId() const { return leaderboardId_; }
    // The display text, or the score in decimal digits when there is none.
    std::string displayText() const;
    // The display text as stored: nil when there is none.
    const std::optional<std::string>& displayTextValue() const { return displayText_; }
    const std::optional<std::string>& customData() const { return customData_; }
    const std::shared_ptr<platform::Data>& blob() const { return blob_; }
    const std::shared_ptr<HCS3UploadParameters>& blobUploadParameters() const { return blobUploadParameters_; }

    // Data-map setters; "empty is nil" for the texts.
    void _setScore(const std::string& text);
    void setRank(const std::string& text);
    void setLeaderboardId(const std::optional<std::string>& text) { leaderboardId_ = text; }
    void _setDisplayText(const std::optional<std::string>& text);
    void _setCustomData(const std::optional<std::string>& text);
    void setUser(std::shared_ptr<HCUser> user) { user_ = std::move(user); }
    void setBlobUploadParameters(std::shared_ptr<HCS3UploadParameters> parameters)
    {
        blobUploadParameters_ = std::move(parameters);
    }

private:
    std::shared_ptr<HCUser> user_;
    std::int64_t score_ = 0;
    int rank_ = 0;
    std::optional<std::string> leaderboardId_;
    std::optional<std::string> displayText_;
    std::optional<std::string> customData_;
    std::shared_ptr<platform::Data> blob_;
    std::shared_ptr<HCS3UploadParameters> blobUploadParameters_;
};

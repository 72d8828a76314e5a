#pragma once
// One score on one leaderboard: read from "high_score" elements of replies
// (a submission's reply lists the accepted scores, each with its player and,
// when the service wants the attachment, its upload parameters) or built
// from a row of the local table.
//
// Thread: filled where it is read (replies: the provider's request thread;
// local rows: the main thread), then handed on whole; the game's interface
// runs on the main thread.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <vector>

#include "core/resources/HCResource.h"
#include "kernel/callbacks/HCCallbackable.h"
#include "platform/foundation/Values.h"

class HCHighScoreDelegate;
class HCLeaderboard;
class HCRequestHandle;
class HCS3UploadParameters;
class HCUser;
struct HCLocalScoreRow;
namespace platform::gamecenter {
class Score;
}

class HCHighScore final : public HCResource, public HCCallbackable {
public:
    // --- The game's interface (main thread; outcomes reach the class
    // delegate, see HCClassDelegate) ---------------------------------------
    // A score with only its value set, for the game to fill and submit.
    static std::shared_ptr<HCHighScore> initForSubmissionWithScore(std::int64_t score);
    static void setDelegate(HCHighScoreDelegate* delegate);
    // Submits this score (its number as display text when it has none, its
    // blob included); didSubmit once it is stored on this device.
    void submitTo(const std::shared_ptr<HCLeaderboard>& leaderboard);
    // didDownloadBlob at once when the blob is here, didFailDownloadBlob at
    // once without one (both answer nil); else the download's handle.
    std::shared_ptr<HCRequestHandle> downloadBlob();
    static std::shared_ptr<HCRequestHandle> getHighScoresNearCurrentUserForLeaderboard(
        const std::shared_ptr<HCLeaderboard>& leaderboard, unsigned betterCount, unsigned worseCount);
    // The player's local best of every local leaderboard that has one.
    static std::vector<std::shared_ptr<HCHighScore>> allHighScoresForCurrentUser();
    bool canReceiveCallbacksNow() const override { return true; }

    // A local row. Its resource id is the row's own, so the rows of one list
    // stay apart in the reply reader's duplicate filter.
    static std::shared_ptr<HCHighScore> initWithLocalSQL(const HCLocalScoreRow& row, std::shared_ptr<HCUser> user,
                                                         int rank);

    // --- Game Center rows (HCHighScore+GameCenter.cpp) ------------------------
    // A Game Center score as a row: no user and no resource id, its formatted
    // value as display text, its player as gameCenterId.
    static std::shared_ptr<HCHighScore> initWithGkScore(const platform::gamecenter::Score& score, int rank);
    // A copy of a service score at another rank. The Game Center player is
    // not taken over: the copy is the service's row, not Game Center's.
    static std::shared_ptr<HCHighScore> initWithOfScore(const HCHighScore& score, int rank);
    void setOverrideRank(int rank) { rank_ = rank; }
    // "<HCHighScore 0x...> score N"
    std::string description() const override;

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "high_score"; }
    std::string getResourceDiscoveredNotification() const override { return "halcyon_high_score_discovered"; }
    const HCResourceDataMap& getDataMap() const override;

    const std::shared_ptr<HCUser>& user() const { return user_; }
    std::int64_t score() const { return score_; }
    // NO when a reply named a score that is not a whole number of the
    // 64-bit range ("NaN", "1e308", "2^63"); score() is then 0.
    bool hasWholeScore() const { return hasWholeScore_; }
    int rank() const { return rank_; }
    const std::optional<std::string>& leaderboardId() const { return leaderboardId_; }
    // The display text, or the score in decimal digits when there is none.
    std::string displayText() const;
    // The display text as stored: nil when there is none.
    const std::optional<std::string>& displayTextValue() const { return displayText_; }
    const std::optional<std::string>& customData() const { return customData_; }
    const std::shared_ptr<platform::Data>& blob() const { return blob_; }
    const std::shared_ptr<HCS3UploadParameters>& blobUploadParameters() const { return blobUploadParameters_; }
    // Where the attachment can be downloaded; nil when none.
    const std::optional<std::string>& blobUrl() const { return blobUrl_; }
    // YES when the attachment is here or can be downloaded.
    bool hasBlob() const { return blob_ || (blobUrl_ && !blobUrl_->empty()); }
    // The server's rank text, or "99,999+" when it sent none.
    std::string toHighRankText() const { return toHighRankText_.value_or("99,999+"); }
    std::uint32_t gameCenterSeconds() const { return gameCenterSeconds_; }
    const std::optional<std::string>& gameCenterId() const { return gameCenterId_; }
    const std::optional<std::string>& gameCenterName() const { return gameCenterName_; }
    double latitude() const { return latitude_; }
    double longitude() const { return longitude_; }
    double distance() const { return distance_; }

    // The game's setters keep what they are given, empty text included.
    void setScore(std::int64_t score)
    {
        score_ = score;
        hasWholeScore_ = true;
    }
    void setDisplayText(const std::optional<std::string>& text) { displayText_ = text; }
    void setCustomData(const std::optional<std::string>& text) { customData_ = text; }
    void setBlob(std::shared_ptr<platform::Data> blob) { blob_ = std::move(blob); }
    void setGameCenterName(const std::optional<std::string>& name) { gameCenterName_ = name; }
    void setGameCenterId(const std::optional<std::string>& id) { gameCenterId_ = id; }
    // The service's setter once an attachment was sent or fetched.
    void _setBlob(const std::shared_ptr<platform::Data>& blob)
    {
        if (blob != blob_) blob_ = blob;
    }

    // Data-map setters; "empty is nil" for the texts.
    void _setScore(const std::string& text);
    void setRank(const std::string& text);
    void setLeaderboardId(const std::optional<std::string>& text) { leaderboardId_ = text; }
    void _setDisplayText(const std::optional<std::string>& text);
    void _setCustomData(const std::optional<std::string>& text);
    void setUser(std::shared_ptr<HCUser> user) { user_ = std::move(user); }
    void setToHighRankText(const std::optional<std::string>& text);
    void setBlobUrl(const std::optional<std::string>& text);
    void setLatitude(const std::string& text);
    void setLongitude(const std::string& text);
    void setDistance(const std::string& text);
    void setGameCenterSeconds(const std::string& text);
    void setBlobUploadParameters(std::shared_ptr<HCS3UploadParameters> parameters)
    {
        blobUploadParameters_ = std::move(parameters);
    }

private:
    std::shared_ptr<HCUser> user_;
    std::int64_t score_ = 0;
    bool hasWholeScore_ = true;
    int rank_ = 0;
    std::optional<std::string> leaderboardId_;
    std::optional<std::string> displayText_;
    std::optional<std::string> customData_;
    std::shared_ptr<platform::Data> blob_;
    std::shared_ptr<HCS3UploadParameters> blobUploadParameters_;
    std::optional<std::string> blobUrl_;
    std::optional<std::string> toHighRankText_;
    std::uint32_t gameCenterSeconds_ = 0;
    std::optional<std::string> gameCenterId_;
    std::optional<std::string> gameCenterName_;
    double latitude_ = 0;
    double longitude_ = 0;
    double distance_ = 0;
};

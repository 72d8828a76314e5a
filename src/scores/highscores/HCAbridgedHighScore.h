#pragma once
// A short score record ("abridged_score") that names its player by id,
// name, picture URL and gamerscore instead of a nested user, with the
// player's picture for the game.
//
// Thread: filled where its reply is read, then handed on whole; the game's
// interface runs on the main thread. Letting go of it mid-download takes
// the download with it.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/images/HCImageDownload.h"
#include "core/resources/HCResource.h"
#include "kernel/callbacks/HCCallbackable.h"
#include "platform/runtime/OptionalMethods.h"
#include "platform/ui/Image.h"

class HCAbridgedHighScore;

class HCAbridgedHighScoreDelegate : public platform::OptionalMethods {
public:
    virtual ~HCAbridgedHighScoreDelegate() = default;
    virtual void didGetProfilePicture(const platform::ui::ImagePtr& picture,
                                      const std::shared_ptr<HCAbridgedHighScore>& score)
    {
        (void)picture;
        (void)score;
        notImplemented();
    }
    virtual void didFailGetProfilePictureHCAbridgedHighScore(const std::shared_ptr<HCAbridgedHighScore>& score)
    {
        (void)score;
        notImplemented();
    }
};

class HCAbridgedHighScore final : public HCResource, public HCCallbackable {
public:
    using Text = std::optional<std::string>;

    static void setDelegate(HCAbridgedHighScoreDelegate* delegate);
    // A cached picture is reported before the call returns (nil answer);
    // else the download's handle. Bytes that are no image fail.
    std::shared_ptr<HCRequestHandle> getProfilePicture();
    // The display text, or the score in decimal digits.
    std::string displayText() const { return displayText_ ? *displayText_ : std::to_string(score_); }

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "abridged_score"; }
    std::string getResourceDiscoveredNotification() const override
    {
        return "halcyon_abridged_high_score_discovered";
    }
    const HCResourceDataMap& getDataMap() const override;
    bool canReceiveCallbacksNow() const override { return true; }

    std::int64_t score() const { return score_; }
    const Text& leaderboardId() const { return leaderboardId_; }
    const Text& userId() const { return userId_; }
    const Text& userName() const { return userName_; }
    const Text& userProfilePictureUrl() const { return userProfilePictureUrl_; }
    std::uint32_t userGamerScore() const { return userGamerScore_; }

    // Data-map setters; "empty is nil" for the texts but the board id.
    void setScore(const std::string& text);
    void setLeaderboardId(const Text& text) { leaderboardId_ = text; }
    void setDisplayText(const Text& text);
    void setUserId(const Text& text);
    void setUserName(const Text& text);
    void setUserProfilePictureUrl(const Text& text);
    void setUserGamerScore(const std::string& text);

private:
    std::int64_t score_ = 0;
    Text leaderboardId_;
    Text displayText_;
    Text userId_;
    Text userName_;
    Text userProfilePictureUrl_;
    std::uint32_t userGamerScore_ = 0;
    HCImageDownloadSlots pictureDownload_;
};

#include "scores/highscores/HCAbridgedHighScore.h"

#include "core/publicclass/HCPublicImageStep.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "platform/foundation/TextConversions.h"
#include "scores/highscores/HCHighScoreService.h"

namespace {

HCClassDelegate<HCAbridgedHighScoreDelegate> sAbridgedHighScoreDelegate("HCAbridgedHighScore");

std::optional<std::string> emptyIsNil(const std::optional<std::string>& text)
{
    return text && !text->empty() ? text : std::nullopt;
}

}  // namespace

void HCAbridgedHighScore::setDelegate(HCAbridgedHighScoreDelegate* delegate)
{
    sAbridgedHighScoreDelegate.set(delegate);
}

std::shared_ptr<HCRequestHandle> HCAbridgedHighScore::getProfilePicture()
{
    auto self = platform::self(this);
    std::weak_ptr<HCAbridgedHighScore> weak = self;
    return HCPublicImageStep<HCAbridgedHighScoreDelegate>(
        sAbridgedHighScoreDelegate, self, pictureDownload_, userProfilePictureUrl_,
        [weak](HCAbridgedHighScoreDelegate& d, const platform::ui::ImagePtr& image) {
            if (auto score = weak.lock()) d.didGetProfilePicture(image, score);
        },
        [weak](HCAbridgedHighScoreDelegate& d) {
            if (auto score = weak.lock()) d.didFailGetProfilePictureHCAbridgedHighScore(score);
        });
}

std::shared_ptr<HCService> HCAbridgedHighScore::getService() const
{
    return HCHighScoreService::sharedInstance();
}

const HCResourceDataMap& HCAbridgedHighScore::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("score", &HCAbridgedHighScore::setScore);
        m->addField("leaderboard_id", &HCAbridgedHighScore::setLeaderboardId);
        m->addField("display_text", &HCAbridgedHighScore::setDisplayText);
        m->addField("user_id", &HCAbridgedHighScore::setUserId);
        m->addField("user_name", &HCAbridgedHighScore::setUserName);
        m->addField("user_profile_picture_url", &HCAbridgedHighScore::setUserProfilePictureUrl);
        m->addField("user_gamer_score", &HCAbridgedHighScore::setUserGamerScore);
        return m;
    }();
    return *map;
}

void HCAbridgedHighScore::setScore(const std::string& text)
{
    score_ = platform::longLongValue(text);
}

void HCAbridgedHighScore::setDisplayText(const Text& text)
{
    displayText_ = emptyIsNil(text);
}

void HCAbridgedHighScore::setUserId(const Text& text)
{
    userId_ = emptyIsNil(text);
}

void HCAbridgedHighScore::setUserName(const Text& text)
{
    userName_ = emptyIsNil(text);
}

void HCAbridgedHighScore::setUserProfilePictureUrl(const Text& text)
{
    userProfilePictureUrl_ = emptyIsNil(text);
}

void HCAbridgedHighScore::setUserGamerScore(const std::string& text)
{
    userGamerScore_ = static_cast<std::uint32_t>(platform::longLongValue(text));
}

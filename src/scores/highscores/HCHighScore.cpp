#include "scores/highscores/HCHighScore.h"

#include "core/storage/HCS3UploadParameters.h"
#include "core/users/HCUser.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "platform/foundation/TextConversions.h"
#include "scores/highscores/HCHighScoreService.h"
#include "scores/highscores/HCLocalHighScoreStore.h"
#include "scores/offline/HCIntegerText.h"

namespace {

std::optional<std::string> emptyIsNilInHighScore(const std::optional<std::string>& text)
{
    return text && !text->empty() ? text : std::nullopt;
}

}  // namespace

std::shared_ptr<HCHighScore> HCHighScore::initWithLocalSQL(const HCLocalScoreRow& row, std::shared_ptr<HCUser> user,
                                                           int rank)
{
    auto score = initWithId<HCHighScore>(row.rowId);
    score->user_ = std::move(user);
    score->leaderboardId_ = row.leaderboardId;
    score->score_ = row.score;
    score->displayText_ = emptyIsNilInHighScore(row.displayText);
    score->customData_ = row.customData;
    score->blob_ = row.blob;
    score->rank_ = rank;
    return score;
}

std::shared_ptr<HCService> HCHighScore::getService() const
{
    return HCHighScoreService::sharedInstance();
}

const HCResourceDataMap& HCHighScore::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("score", &HCHighScore::_setScore);
        m->addField("rank", &HCHighScore::setRank);
        m->addField("leaderboard_id", &HCHighScore::setLeaderboardId);
        m->addField("display_text", &HCHighScore::_setDisplayText);
        m->addField("custom_data", &HCHighScore::_setCustomData);
        m->addField("to_high_rank_text", &HCHighScore::setToHighRankText);
        m->addField("blob_url", &HCHighScore::setBlobUrl);
        m->addField("lat", &HCHighScore::setLatitude);
        m->addField("lng", &HCHighScore::setLongitude);
        m->addField("distance", &HCHighScore::setDistance);
        m->addField("gamecenter_timestamp", &HCHighScore::setGameCenterSeconds);
        m->addNestedResourceField("user", &HCHighScore::setUser);
        m->addNestedResourceField("blob_upload_parameters", &HCHighScore::setBlobUploadParameters);
        return m;
    }();
    return *map;
}

std::string HCHighScore::displayText() const
{
    return displayText_ ? *displayText_ : std::to_string(score_);
}

void HCHighScore::_setScore(const std::string& text)
{
    const auto score = HCIntegerFromText(text);
    score_ = score.value_or(0);
    hasWholeScore_ = score.has_value();
}

void HCHighScore::setRank(const std::string& text)
{
    rank_ = platform::intValue(text);
}

void HCHighScore::_setDisplayText(const std::optional<std::string>& text)
{
    displayText_ = emptyIsNilInHighScore(text);
}

void HCHighScore::_setCustomData(const std::optional<std::string>& text)
{
    customData_ = emptyIsNilInHighScore(text);
}

void HCHighScore::setToHighRankText(const std::optional<std::string>& text)
{
    toHighRankText_ = emptyIsNilInHighScore(text);
}

void HCHighScore::setBlobUrl(const std::optional<std::string>& text)
{
    blobUrl_ = emptyIsNilInHighScore(text);
}

void HCHighScore::setLatitude(const std::string& text)
{
    latitude_ = platform::doubleValue(text);
}

void HCHighScore::setLongitude(const std::string& text)
{
    longitude_ = platform::doubleValue(text);
}

void HCHighScore::setDistance(const std::string& text)
{
    distance_ = platform::doubleValue(text);
}

void HCHighScore::setGameCenterSeconds(const std::string& text)
{
    gameCenterSeconds_ = static_cast<std::uint32_t>(platform::longLongValue(text));
}

#include <cstdio>

#include "platform/gamecenter/GameCenter.h"
#include "scores/highscores/HCHighScore.h"

std::shared_ptr<HCHighScore> HCHighScore::initWithGkScore(const platform::gamecenter::Score& score, int rank)
{
    auto row = std::make_shared<HCHighScore>();
    row->displayText_ = score.formattedValue();
    row->score_ = score.value();
    row->rank_ = rank;
    row->gameCenterId_ = score.playerID();
    return row;
}

std::shared_ptr<HCHighScore> HCHighScore::initWithOfScore(const HCHighScore& score, int rank)
{
    auto row = initWithId<HCHighScore>(score.resourceId());
    row->user_ = score.user_;
    row->score_ = score.score_;
    row->leaderboardId_ = score.leaderboardId_;
    row->displayText_ = score.displayText_;
    row->customData_ = score.customData_;
    row->blob_ = score.blob_;
    row->blobUrl_ = score.blobUrl_;
    row->toHighRankText_ = score.toHighRankText_;
    row->gameCenterSeconds_ = score.gameCenterSeconds_;
    row->blobUploadParameters_ = score.blobUploadParameters_;
    row->latitude_ = score.latitude_;
    row->longitude_ = score.longitude_;
    row->distance_ = score.distance_;
    row->rank_ = rank;
    return row;
}

std::string HCHighScore::description() const
{
    char text[80];
    std::snprintf(text, sizeof text, "<HCHighScore %p> score %lld", static_cast<const void*>(this),
                  static_cast<long long>(score_));
    return text;
}

#include "scores/leaderboards/HCLeaderboard.h"

#include "kernel/resources/HCResourceDataMap.h"
#include "kernel/sql/HCSqlQuery.h"
#include "platform/foundation/TextConversions.h"
#include "scores/highscores/HCHighScore.h"
#include "scores/leaderboards/HCLeaderboardService.h"

std::shared_ptr<HCLeaderboard> HCLeaderboard::initWithLocalSQL(const HCSqlQuery& row,
                                                               std::shared_ptr<HCHighScore> localUserScore,
                                                               std::shared_ptr<HCHighScore> comparedUserScore)
{
    auto leaderboard = std::make_shared<HCLeaderboard>();
    leaderboard->setResourceId(row.getTextValue("id"));
    leaderboard->name_ = row.getTextValue("name");
    leaderboard->descendingScoreOrder_ = row.getBool("descending_sort_order");
    leaderboard->currentUserScore_ = std::move(localUserScore);
    leaderboard->comparedUserScore_ = std::move(comparedUserScore);
    return leaderboard;
}

std::shared_ptr<HCService> HCLeaderboard::getService() const
{
    return HCLeaderboardService::sharedInstance();
}

const HCResourceDataMap& HCLeaderboard::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("name", &HCLeaderboard::setName);
        m->addField("descending_sort_order", &HCLeaderboard::setDescendingScoreOrder);
        m->addNestedResourceField("current_user_high_score", &HCLeaderboard::setCurrentUsersScore);
        m->addNestedResourceField("compared_user_high_score", &HCLeaderboard::setComparedToUsersScore);
        return m;
    }();
    return *map;
}

void HCLeaderboard::setDescendingScoreOrder(const std::string& text)
{
    descendingScoreOrder_ = platform::boolValue(text);
}

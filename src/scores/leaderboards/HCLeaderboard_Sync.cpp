#include "scores/leaderboards/HCLeaderboard_Sync.h"

#include "kernel/resources/HCResourceDataMap.h"
#include "kernel/sql/HCSqlQuery.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/TextConversions.h"
#include "scores/leaderboards/HCLeaderboardService.h"
#include "scores/offline/HCIntegerText.h"

std::shared_ptr<HCLeaderboard_Sync> HCLeaderboard_Sync::initWithLocalSQL(const HCSqlQuery& row)
{
    auto sync = std::make_shared<HCLeaderboard_Sync>();
    sync->setResourceId(row.getTextValue("id"));
    sync->name_ = row.getTextValue("name");
    sync->endVersion_ = row.getTextValue("end_version");
    sync->startVersion_ = row.getTextValue("start_version");
    sync->active_ = row.getBool("active");
    sync->allowPostingLowerScores_ = row.getBool("allow_posting_lower_scores");
    sync->descendingSortOrder_ = row.getBool("descending_sort_order");
    sync->isAggregate_ = row.getBool("is_aggregate");
    sync->visible_ = row.getBool("visible");
    return sync;
}

std::shared_ptr<HCService> HCLeaderboard_Sync::getService() const
{
    return HCLeaderboardService::sharedInstance();
}

const HCResourceDataMap& HCLeaderboard_Sync::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("name", &HCLeaderboard_Sync::setName);
        m->addField("active", &HCLeaderboard_Sync::setActive);
        m->addField("allow_posting_lower_scores", &HCLeaderboard_Sync::setAllowPostingLowerScores);
        m->addField("descending_sort_order", &HCLeaderboard_Sync::setDescendingSortOrder);
        m->addField("is_aggregate", &HCLeaderboard_Sync::setIsAggregate);
        m->addField("reached_at", &HCLeaderboard_Sync::setReachedAt);
        m->addField("score", &HCLeaderboard_Sync::setScore);
        m->addField("end_version", &HCLeaderboard_Sync::setEndVersion);
        m->addField("start_version", &HCLeaderboard_Sync::setStartVersion);
        m->addField("visible", &HCLeaderboard_Sync::setVisible);
        m->addField("display_text", &HCLeaderboard_Sync::setDisplayText);
        m->addField("custom_data", &HCLeaderboard_Sync::setCustomData);
        return m;
    }();
    return *map;
}

void HCLeaderboard_Sync::setActive(const std::string& text)
{
    active_ = platform::boolValue(text);
}

void HCLeaderboard_Sync::setAllowPostingLowerScores(const std::string& text)
{
    allowPostingLowerScores_ = platform::boolValue(text);
}

void HCLeaderboard_Sync::setDescendingSortOrder(const std::string& text)
{
    if (text == "1" || text == "true") {
        descendingSortOrder_ = true;
    } else if (text == "0" || text == "false") {
        descendingSortOrder_ = false;
    } else {
        descendingSortOrder_ = std::nullopt;
    }
}

void HCLeaderboard_Sync::setIsAggregate(const std::string& text)
{
    isAggregate_ = platform::boolValue(text);
}

void HCLeaderboard_Sync::setVisible(const std::string& text)
{
    visible_ = platform::boolValue(text);
}

void HCLeaderboard_Sync::setScore(const std::string& text)
{
    score_ = HCIntegerFromText(text).value_or(0);
}

void HCLeaderboard_Sync::setReachedAt(const Text& text)
{
    reachedAt_ = nullptr;
    if (!text) return;
    static const platform::DateFormatter formatter("yyy-MM-dd HH:mm:ss zzz");
    reachedAt_ = formatter.dateFromString(text->size() == 19 ? *text + " GMT" : *text);
}

#include "social/profiles/HCUserGameStat.h"

#include "core/resources/HCResourceText.h"
#include "kernel/resources/HCResourceDataMap.h"

const HCResourceDataMap& HCUserGameStat::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("user_has_game", &HCUserGameStat::setUserHasGameFromString);
        m->addField("user_id", &HCUserGameStat::setUserId);
        m->addField("user_gamerscore", &HCUserGameStat::setUserGamerScoreFromString);
        m->addField("user_favorited_game", &HCUserGameStat::setUserFavoritedGameFromString);
        return m;
    }();
    return *map;
}

void HCUserGameStat::setUserHasGameFromString(const Text& text)
{
    userHasGame_ = HCResourceText::readBool(text);
}

void HCUserGameStat::setUserGamerScoreFromString(const Text& text)
{
    userGamerScore_ = HCResourceText::readCount(text);
}

void HCUserGameStat::setUserFavoritedGameFromString(const Text& text)
{
    userFavoritedGame_ = HCResourceText::readBool(text);
}

#include "social/friends/HCGamePlayer.h"

#include "core/resources/HCResourceText.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "social/profiles/HCProfileService.h"

std::shared_ptr<HCService> HCGamePlayer::getService() const
{
    return HCProfileService::sharedInstance();
}

const HCResourceDataMap& HCGamePlayer::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("app_id", &HCGamePlayer::setApplicationId);
        m->addField("app_gamerscore", &HCGamePlayer::setApplicationGamerscore);
        m->addField("favorite", &HCGamePlayer::setIsFavorite);
        m->addNestedResourceField("user", &HCGamePlayer::setUser);
        return m;
    }();
    return *map;
}

void HCGamePlayer::setApplicationGamerscore(const Text& text)
{
    applicationGamerscore_ = HCResourceText::readCount(text);
}

void HCGamePlayer::setIsFavorite(const Text& text)
{
    isFavorite_ = HCResourceText::readBool(text);
}

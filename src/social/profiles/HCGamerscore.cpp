#include "social/profiles/HCGamerscore.h"

#include "core/resources/HCResourceText.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "social/profiles/HCProfileService.h"

std::shared_ptr<HCService> HCGamerscore::getService() const
{
    return HCProfileService::sharedInstance();
}

const HCResourceDataMap& HCGamerscore::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("user_id", &HCGamerscore::setUserIdFromString);
        m->addField("gamerscore", &HCGamerscore::setGamerscoreFromString);
        return m;
    }();
    return *map;
}

void HCGamerscore::setUserIdFromString(const std::optional<std::string>& text)
{
    userId_ = HCResourceText::readCount(text);
}

void HCGamerscore::setGamerscoreFromString(const std::optional<std::string>& text)
{
    gamerscore_ = HCResourceText::readCount(text);
}

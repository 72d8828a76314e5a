#include "social/profiles/HCGamerscore.h"

#include <algorithm>

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

uint32_t HCGamerscore::unsignedFromText(const std::optional<std::string>& text)
{
    return static_cast<uint32_t>(std::max(0, HCResourceText::readInt(text)));
}

void HCGamerscore::setUserIdFromString(const std::optional<std::string>& text)
{
    userId_ = unsignedFromText(text);
}

void HCGamerscore::setGamerscoreFromString(const std::optional<std::string>& text)
{
    gamerscore_ = unsignedFromText(text);
}

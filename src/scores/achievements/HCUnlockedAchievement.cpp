#include "scores/achievements/HCUnlockedAchievement.h"

#include "kernel/resources/HCResourceDataMap.h"
#include "platform/foundation/TextConversions.h"
#include "scores/achievements/HCAchievement.h"
#include "scores/achievements/HCAchievementService.h"

std::shared_ptr<HCService> HCUnlockedAchievement::getService() const
{
    return HCAchievementService::sharedInstance();
}

const HCResourceDataMap& HCUnlockedAchievement::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addNestedResourceField("achievement_definition", &HCUnlockedAchievement::setAchievement);
        m->addField("result", &HCUnlockedAchievement::setResult);
        m->addField("percent_complete", &HCUnlockedAchievement::setPercentComplete);
        return m;
    }();
    return *map;
}

void HCUnlockedAchievement::setPercentComplete(const std::string& text)
{
    percentComplete_ = platform::doubleValue(text);
}

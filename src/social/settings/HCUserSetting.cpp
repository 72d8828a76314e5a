#include "social/settings/HCUserSetting.h"

#include "kernel/resources/HCResourceDataMap.h"
#include "social/settings/HCUserSettingService.h"

std::shared_ptr<HCService> HCUserSetting::getService() const
{
    return HCUserSettingService::sharedInstance();
}

const HCResourceDataMap& HCUserSetting::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("name", &HCUserSetting::setName);
        m->addField("value", &HCUserSetting::setValue);
        m->addField("value_type", &HCUserSetting::setValueType);
        m->addField("key", &HCUserSetting::setKey);
        return m;
    }();
    return *map;
}

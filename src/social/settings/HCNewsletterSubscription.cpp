#include "social/settings/HCNewsletterSubscription.h"

#include "kernel/resources/HCResourceDataMap.h"
#include "social/settings/HCUserSettingService.h"

std::shared_ptr<HCService> HCNewsletterSubscription::getService() const
{
    return HCUserSettingService::sharedInstance();
}

const HCResourceDataMap& HCNewsletterSubscription::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addNestedResourceField("user", &HCNewsletterSubscription::setUser);
        m->addNestedResourceField("developer", &HCNewsletterSubscription::setDeveloper);
        return m;
    }();
    return *map;
}

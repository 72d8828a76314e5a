#include "social/socialposts/HCImageUrl.h"

#include "kernel/resources/HCResourceDataMap.h"
#include "social/socialposts/HCSocialNotificationService.h"

std::shared_ptr<HCService> HCImageUrl::getService() const
{
    return HCSocialNotificationService::sharedInstance();
}

const HCResourceDataMap& HCImageUrl::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("url", &HCImageUrl::setUrl);
        return m;
    }();
    return *map;
}

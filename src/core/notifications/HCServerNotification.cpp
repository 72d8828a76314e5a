#include "core/notifications/HCServerNotification.h"

#include "core/notifications/HCServerNotificationService.h"
#include "kernel/resources/HCResourceDataMap.h"

std::shared_ptr<HCService> HCServerNotification::getService() const
{
    return HCServerNotificationService::sharedInstance();
}

const HCResourceDataMap& HCServerNotification::getDataMap() const
{
    static const auto map = [] {
        using N = HCServerNotification;
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("showDefaultNotification", &N::setShowDefaultNotification);
        m->addField("text", &N::setText);
        m->addField("detail", &N::setDetail);
        m->addField("backDefaultImage", &N::setBackgroundDefaultImage);
        m->addField("backImage", &N::setBackgroundImage);
        m->addField("iconDefaultImage", &N::setIconDefaultImage);
        m->addField("iconImage", &N::setIconImage);
        m->addField("statusDefaultImage", &N::setStatusDefaultImage);
        m->addField("statusImage", &N::setStatusImage);
        m->addField("score", &N::setScore);
        m->addField("inputTab", &N::setInputTab);
        m->addField("inputControllerName", &N::setInputControllerName);
        return m;
    }();
    return *map;
}

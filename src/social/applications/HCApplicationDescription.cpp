#include "social/applications/HCApplicationDescription.h"

#include "kernel/resources/HCResourceDataMap.h"
#include "social/applications/HCApplicationDescriptionService.h"

const HCResourceDataMap& HCApplicationDescription::getDataMap() const
{
    using D = HCApplicationDescription;
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("name", &D::setName);
        m->addField("icon_url", &D::setIconUrl);
        m->addField("price", &D::setPrice);
        m->addField("itunes_id", &D::setItunesId);
        m->addField("current_version", &D::setCurrentVersion);
        m->addField("description_brief", &D::setBriefDescription);
        m->addField("description_extended", &D::setExtendedDescription);
        m->addField("client_application_id", &D::setApplicationId);
        return m;
    }();
    return *map;
}

std::shared_ptr<HCService> HCApplicationDescription::getService() const
{
    return HCApplicationDescriptionService::sharedInstance();
}

void HCApplicationDescription::setIconUrl(const Text& text)
{
    if (text && !text->empty()) iconUrl_ = text;
}

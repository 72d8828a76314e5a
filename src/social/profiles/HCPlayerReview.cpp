#include "social/profiles/HCPlayerReview.h"

#include "core/resources/HCResourceText.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "social/applications/HCClientApplicationService.h"

std::shared_ptr<HCService> HCPlayerReview::getService() const
{
    return HCClientApplicationService::sharedInstance();
}

const HCResourceDataMap& HCPlayerReview::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("favorite", &HCPlayerReview::setfavorite);
        m->addField("review", &HCPlayerReview::setReview);
        m->addNestedResourceField("user", &HCPlayerReview::setUser);
        return m;
    }();
    return *map;
}

void HCPlayerReview::setfavorite(const Text& text)
{
    favorite_ = HCResourceText::readBool(text);
}

#include "socialpages/announcements/HCAnnouncementBrowserController.h"

#include "core/halcyon/Halcyon.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "social/announcements/HCAnnouncementService.h"
#include "socialpages/announcements/HCAnnouncementDetailController.h"
#include "uiframework/HCControllerLoader.h"

std::shared_ptr<HCAnnouncementBrowserController> HCAnnouncementBrowserController::announcementBrowser()
{
    return HCControllerLoader::load<HCAnnouncementBrowserController>("AnnouncementBrowser");
}

std::shared_ptr<HCService> HCAnnouncementBrowserController::getService()
{
    return HCAnnouncementService::sharedInstance();
}

void HCAnnouncementBrowserController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCAnnouncement>("ForumThread");
}

bool HCAnnouncementBrowserController::showsRunningGame() const
{
    auto game = getPageContextGame();
    return !game || game->resourceId() == Halcyon::clientApplicationId();
}

void HCAnnouncementBrowserController::doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    if (showsRunningGame()) {
        auto service = HCAnnouncementService::sharedInstance();
        if (service) {
            service->getIndexOnSuccess(onSuccess, onFailure);
        } else {
            onFailure.invoke(nullptr);
        }
        return;
    }
    HCAnnouncementService::recentAnnouncementsForApplication(getPageContextGame()->resourceId(), onSuccess, onFailure);
}

void HCAnnouncementBrowserController::onResourcesDownloaded(const HCPaginatedSeriesPtr& series)
{
    HC_CHECK_MAIN_THREAD();
    if (!showsRunningGame()) return;
    platform::DatePtr latest;
    for (const auto& announcement : HCAnnouncementService::combineSections(series)) {
        // An announcement without a date says nothing about the latest one.
        const auto& date = announcement->date();
        if (!date) continue;
        if (!latest || !(date->timeIntervalSince1970() < latest->timeIntervalSince1970())) latest = date;
    }
    if (latest) Halcyon::setLastAnnouncementDateForLocalUser(latest);
    HCAnnouncementService::markAllAnnouncementsAsRead();
}

void HCAnnouncementBrowserController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath&)
{
    HC_CHECK_MAIN_THREAD();
    auto announcement = platform::as<HCAnnouncement>(resource);
    auto navigation = navigationController();
    if (!announcement || !navigation) return;
    if (auto detail = HCAnnouncementDetailController::announcementDetail(announcement))
        navigation->pushViewController(detail, true);
}

void HCAnnouncementBrowserController::viewWillAppear(bool animated)
{
    setTitle("Announcements");
    HCTableSequenceControllerHelper::viewWillAppear(animated);
}

#include "social/announcements/HCAnnouncementService.h"

#include <algorithm>

#include "core/clientstate/HCClientState.h"
#include "core/halcyon/Halcyon.h"
#include "core/replies/HCTableSectionDescription.h"
#include "core/resources/HCResourceClass.h"
#include "core/services/HCServicePath.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/forums/HCForumPost.h"
#include "social/forums/HCForumService.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCAnnouncementService> sInstance;

constexpr const char* kAnnouncementsPath = "client_applications/%@/forums/announcements.xml";

std::vector<HCAnnouncementPtr> announcementsIn(const std::shared_ptr<HCPaginatedSeries>& series)
{
    std::vector<HCAnnouncementPtr> out;
    if (!series) return out;
    for (const auto& object : series->objects())
        if (auto announcement = platform::as<HCAnnouncement>(object)) out.push_back(announcement);
    return out;
}

std::shared_ptr<HCPaginatedSeries> seriesOf(const std::vector<HCAnnouncementPtr>& list)
{
    return HCPaginatedSeries::paginatedSeriesFromArray(HCPaginatedSeries::Objects(list.begin(), list.end()));
}

}  // namespace

void HCAnnouncementService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sInstance) sInstance = HCService::create<HCAnnouncementService>();
}

void HCAnnouncementService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    sInstance = nullptr;
}

std::shared_ptr<HCAnnouncementService> HCAnnouncementService::sharedInstance()
{
    return sInstance;
}

void HCAnnouncementService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCAnnouncement>(map);
    HCAddKnownResource<HCForumPost>(map);
}

std::vector<HCAnnouncementPtr> HCAnnouncementService::combineSections(const std::shared_ptr<HCPaginatedSeries>& reply)
{
    std::vector<HCAnnouncementPtr> merged;
    if (!reply || reply->count() == 0) return merged;
    if (!platform::as<HCTableSectionDescription>(reply->objectAtIndex(0))) return announcementsIn(reply);
    for (const auto& object : reply->objects()) {
        auto section = platform::as<HCTableSectionDescription>(object);
        if (!section) continue;
        auto part = announcementsIn(section->page());
        merged.insert(merged.end(), part.begin(), part.end());
    }
    return merged;
}

std::pair<std::vector<HCAnnouncementPtr>, std::vector<HCAnnouncementPtr>> HCAnnouncementService::appAndDevSections(
    const std::shared_ptr<HCPaginatedSeries>& reply)
{
    std::pair<std::vector<HCAnnouncementPtr>, std::vector<HCAnnouncementPtr>> sections;
    if (!reply || reply->count() == 0) return sections;
    if (!platform::as<HCTableSectionDescription>(reply->objectAtIndex(0))) {
        sections.first = announcementsIn(reply);
        return sections;
    }
    size_t taken = 0;
    for (const auto& object : reply->objects()) {
        auto section = platform::as<HCTableSectionDescription>(object);
        if (!section) continue;
        (taken == 0 ? sections.first : sections.second) = announcementsIn(section->page());
        if (++taken == 2) break;
    }
    return sections;
}

HCRequestHandlePtr HCAnnouncementService::downloadAnnouncementsOnSuccess(const HCDelegate& onSuccess,
                                                                         const HCDelegate& onFailure)
{
    auto path = HCServicePath::format(kAnnouncementsPath, {HCClientState::clientApplicationId()});
    auto service = HCServicePath::serviceFor<HCAnnouncementService>(path, onFailure);
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    auto since = Halcyon::lastAnnouncementDateForLocalUser();
    parameters.io("since", platform::DateFormatter::httpFormatter().stringFromDate(
                               since ? *since : *platform::Date::distantPast()));
    return service->getAction(*path, &parameters, onSuccess, onFailure, HCActionRequest::kSilent, nullptr, false);
}

HCRequestHandlePtr HCAnnouncementService::recentAnnouncementsForApplication(const Text& applicationId,
                                                                            const HCDelegate& onSuccess,
                                                                            const HCDelegate& onFailure)
{
    auto path = HCServicePath::format(kAnnouncementsPath, {applicationId});
    auto service = HCServicePath::serviceFor<HCAnnouncementService>(path, onFailure);
    if (!service) return nullptr;
    auto merge = HCDelegate::withFunction(
        [onSuccess](const platform::ObjectPtr& reply) {
            auto merged = combineSections(platform::as<HCPaginatedSeries>(reply));
            HCAnnouncement::sort(merged, HCAnnouncement::kByCreationDate);
            onSuccess.invoke(seriesOf(merged));
        },
        nullptr, onSuccess.thread());
    return service->getAction(*path, nullptr, merge, onFailure, HCActionRequest::kSilent, nullptr);
}

void HCAnnouncementService::downloadAnnouncements()
{
    HC_CHECK_MAIN_THREAD();
    auto keep = HCDelegate::withFunction([](const platform::ObjectPtr& reply) {
        auto merged = combineSections(platform::as<HCPaginatedSeries>(reply));
        HCAnnouncement::sortStickyFirst(merged);
        if (auto service = sharedInstance()) service->keep(std::move(merged));
    });
    downloadAnnouncementsOnSuccess(keep, HCDelegate());
}

void HCAnnouncementService::keep(std::vector<HCAnnouncementPtr> merged)
{
    HC_CHECK_MAIN_THREAD();
    unsigned unread = 0;
    for (const auto& announcement : merged) unread += announcement->isUnread();
    announcements_ = seriesOf(merged);
    setCount(unread, true);
}

void HCAnnouncementService::announcementRead(const Text& announcementId)
{
    HC_CHECK_MAIN_THREAD();
    unsigned unread = 0;
    for (const auto& announcement : announcementsIn(announcements_)) {
        if (announcementId && announcement->resourceId() == announcementId) announcement->setIsUnread(false);
        unread += announcement->isUnread();
    }
    // After "mark all read" the flags are still set while the count is 0:
    // a recount must not bring the cleared badge back.
    setCount(std::min(unread, unseenAnnouncementCount_), false);
}

void HCAnnouncementService::setCount(unsigned count, bool reportAlways)
{
    if (!reportAlways && count == unseenAnnouncementCount_) return;
    unseenAnnouncementCount_ = count;
    Halcyon::postUnreadAnnouncementCountChangedTo(count);
}

HCRequestHandlePtr HCAnnouncementService::getIndexOnSuccess(const HCDelegate& onSuccess, const HCDelegate&)
{
    HC_CHECK_MAIN_THREAD();
    onSuccess.invoke(announcements_);
    return nullptr;
}

HCRequestHandlePtr HCAnnouncementService::getPostsForAnnouncement(const Text& announcementId, int32_t page,
                                                                  const HCDelegate& onSuccess,
                                                                  const HCDelegate& onFailure)
{
    return HCForumService::getPostsForThread(announcementId, page, onSuccess, onFailure);
}

unsigned HCAnnouncementService::unreadAnnouncements()
{
    HC_CHECK_MAIN_THREAD();
    auto service = sharedInstance();
    return service ? service->unseenAnnouncementCount_ : 0;
}

void HCAnnouncementService::markAllAnnouncementsAsRead()
{
    HC_CHECK_MAIN_THREAD();
    auto service = sharedInstance();
    if (!service) return;
    // The flags stay: reading one of them later still stores its date, so
    // the next log-in's download does not bring it back as unread.
    service->setCount(0, true);
}

void HCAnnouncementService::clearLocalAnnouncements()
{
    HC_CHECK_MAIN_THREAD();
    markAllAnnouncementsAsRead();
    if (auto service = sharedInstance()) service->announcements_ = nullptr;
}

#include "social/announcements/HCAnnouncement.h"

#include <algorithm>

#include "core/halcyon/Halcyon.h"
#include "core/publicclass/HCClassDelegate.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/resources/HCResourceText.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "social/announcements/HCAnnouncementService.h"
#include "social/forums/HCForumService.h"

namespace {

HCClassDelegate<HCAnnouncementDelegate> sDelegate("HCAnnouncement");

// Newest first; a missing date is the oldest of all.
int newestFirst(const platform::DatePtr& a, const platform::DatePtr& b)
{
    if (!a || !b) return a ? -1 : (b ? 1 : 0);
    const double x = a->timeIntervalSince1970();
    const double y = b->timeIntervalSince1970();
    return x > y ? -1 : (x < y ? 1 : 0);
}

template <class Compare>
void stableSortBy(std::vector<HCAnnouncementPtr>& list, Compare compare)
{
    std::stable_sort(list.begin(), list.end(),
                     [&](const HCAnnouncementPtr& a, const HCAnnouncementPtr& b) { return compare(*a, *b) < 0; });
}

}  // namespace

std::shared_ptr<HCService> HCAnnouncement::getService() const
{
    return HCAnnouncementService::sharedInstance();
}

const HCResourceDataMap& HCAnnouncement::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->copyFieldsFrom(HCForumThread().getDataMap());
        m->addField("important", &HCAnnouncement::setImportantFromString, &HCAnnouncement::importantAsString);
        m->addField("unread", &HCAnnouncement::setUnreadFromString, &HCAnnouncement::unreadAsString);
        m->addNestedResourceField("post", &HCAnnouncement::setPost);
        m->addField("linked_client_application_id", &HCAnnouncement::setLinkedClientApplicationId,
                    &HCAnnouncement::linkedClientApplicationId);
        m->addField("created_at", &HCAnnouncement::setOriginalPostDateFromString);
        return m;
    }();
    return *map;
}

void HCAnnouncement::setImportantFromString(const Text& text)
{
    isImportant_ = HCResourceText::readBool(text);
}

std::string HCAnnouncement::importantAsString() const
{
    return HCResourceText::boolText(isImportant_);
}

void HCAnnouncement::setUnreadFromString(const Text& text)
{
    isUnread_ = HCResourceText::readBool(text);
}

std::string HCAnnouncement::unreadAsString() const
{
    return HCResourceText::boolText(isUnread_);
}

void HCAnnouncement::setPost(HCForumPostPtr post)
{
    body_ = post ? post->body() : std::nullopt;
}

void HCAnnouncement::setOriginalPostDateFromString(const Text& text)
{
    originalPostDate_ = HCResourceText::readDate(text);
}

int HCAnnouncement::compareByCreationDate(const HCAnnouncement& other) const
{
    return newestFirst(originalPostDate_, other.originalPostDate_);
}

int HCAnnouncement::compareByUpdateDate(const HCAnnouncement& other) const
{
    return newestFirst(date(), other.date());
}

int HCAnnouncement::compareByCreationDateAndSticky(const HCAnnouncement& other) const
{
    if (isSticky() != other.isSticky()) return isSticky() ? -1 : 1;
    return compareByCreationDate(other);
}

void HCAnnouncement::sort(std::vector<HCAnnouncementPtr>& list, unsigned sortType)
{
    if (sortType == kByCreationDate) stableSortBy(list, std::mem_fn(&HCAnnouncement::compareByCreationDate));
    if (sortType == kByUpdateDate) stableSortBy(list, std::mem_fn(&HCAnnouncement::compareByUpdateDate));
}

void HCAnnouncement::sortStickyFirst(std::vector<HCAnnouncementPtr>& list)
{
    stableSortBy(list, std::mem_fn(&HCAnnouncement::compareByCreationDateAndSticky));
}

void HCAnnouncement::setDelegate(HCAnnouncementDelegate* delegate)
{
    sDelegate.set(delegate);
}

HCRequestHandlePtr HCAnnouncement::downloadAnnouncementsAndSortBy(unsigned sortType)
{
    auto cb = sDelegate.callbacks(
        nullptr,
        [sortType](auto ticket, const platform::ObjectPtr& reply) {
            auto [app, dev] = HCAnnouncementService::appAndDevSections(platform::as<HCPaginatedSeries>(reply));
            sort(app, sortType);
            sort(dev, sortType);
            sDelegate.notify(ticket, [&](HCAnnouncementDelegate& d) { d.didDownloadAnnouncementsAppAnnouncements(app, dev); });
        },
        [](auto ticket) { sDelegate.notify(ticket, [](HCAnnouncementDelegate& d) { d.didFailDownloadAnnouncements(); }); });
    return sDelegate.track(HCAnnouncementService::downloadAnnouncementsOnSuccess(cb.success, cb.failure));
}

HCRequestHandlePtr HCAnnouncement::getPosts()
{
    auto self = std::static_pointer_cast<HCAnnouncement>(shared_from_this());
    auto failed = [self](auto ticket) {
        sDelegate.notify(ticket, [&](HCAnnouncementDelegate& d) { d.didFailGetPostsHCAnnouncement(self); });
    };
    auto cb = sDelegate.callbacks(
        self,
        [self, failed](auto ticket, const platform::ObjectPtr& reply) {
            std::vector<HCForumPostPtr> posts;
            if (auto series = platform::as<HCPaginatedSeries>(reply))
                for (const auto& object : series->objects())
                    if (auto post = platform::as<HCForumPost>(object)) posts.push_back(post);
            if (posts.empty()) return failed(ticket);
            // The first post is the announcement's own text.
            posts.erase(posts.begin());
            sDelegate.notify(ticket, [&](HCAnnouncementDelegate& d) { d.didGetPosts(posts, self); });
        },
        failed);
    return sDelegate.track(HCForumService::getPostsForThread(resourceId(), 1, cb.success, cb.failure));
}

void HCAnnouncement::markAsRead()
{
    if (!isUnread_) return;
    isUnread_ = false;
    if (originalPostDate_) Halcyon::setLastAnnouncementDateForLocalUser(originalPostDate_);
    if (auto service = HCAnnouncementService::sharedInstance()) service->announcementRead(resourceId());
}

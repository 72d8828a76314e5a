#pragma once
// The game's announcements: downloaded after each log-in, kept merged
// (sticky ones first, then newest), with how many are unread; the count is
// reported with "HCNSNotificationUnreadAnnouncementCountChanged".
//
// A reply may hold the two sections (the game's, the developer's), fewer,
// or a flat list: whatever announcements are there are kept. A failed
// download leaves the kept list and count as they were.
//
// Thread: main thread (the kept list and count, every call); replies are
// read on the provider's request thread.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/replies/HCPaginatedSeries.h"
#include "core/services/HCService.h"
#include "social/announcements/HCAnnouncement.h"

class HCAnnouncementService final : public HCService {
public:
    using Text = std::optional<std::string>;

    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCAnnouncementService> sharedInstance();

    // The running game's announcements newer than the player's last read
    // one (sent as "since"); needs no logged-in session. The callbacks get
    // the reply as it came.
    static HCRequestHandlePtr downloadAnnouncementsOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // Another game's announcements, merged and newest first.
    static HCRequestHandlePtr recentAnnouncementsForApplication(const Text& applicationId,
                                                                const HCDelegate& onSuccess,
                                                                const HCDelegate& onFailure);
    // Downloads and keeps the result (after each log-in).
    static void downloadAnnouncements();
    static HCRequestHandlePtr getPostsForAnnouncement(const Text& announcementId, int32_t page,
                                                      const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static unsigned unreadAnnouncements();
    // The count 0, reported; each announcement keeps its unread flag until
    // it is read itself.
    static void markAllAnnouncementsAsRead();
    // Marks all read and forgets the kept list.
    static void clearLocalAnnouncements();

    // Every announcement of the reply: the objects of each section in order,
    // or the reply's own objects when it is flat.
    static std::vector<HCAnnouncementPtr> combineSections(const std::shared_ptr<HCPaginatedSeries>& reply);
    // The first two sections' announcements (a missing one empty); a flat
    // reply counts as the game's section.
    static std::pair<std::vector<HCAnnouncementPtr>, std::vector<HCAnnouncementPtr>> appAndDevSections(
        const std::shared_ptr<HCPaginatedSeries>& reply);

    // The kept list, nil before the first download.
    const std::shared_ptr<HCPaginatedSeries>& announcements() const { return announcements_; }
    // The kept announcement with that id was read: recount, never above the
    // count as it stands, and report a change.
    void announcementRead(const Text& announcementId);

    void populateKnownResources(HCResourceNameMap& map) override;
    // Hands over the kept list without a request (nil before a download).
    HCRequestHandlePtr getIndexOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override;

private:
    void keep(std::vector<HCAnnouncementPtr> merged);
    void setCount(unsigned count, bool reportAlways);

    std::shared_ptr<HCPaginatedSeries> announcements_;
    unsigned unseenAnnouncementCount_ = 0;
};

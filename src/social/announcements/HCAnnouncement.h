#pragma once
// News that the service or the game's developer posts for a game: a forum
// discussion ("discussion") with its opening text, its creation date and
// whether it is important and unread; and the class the game calls to
// download them and read one announcement's replies.
//
// Orderings put an announcement without a date after every dated one (it
// counts as the oldest) and are total, so sorting is well defined whatever
// the reply holds; sorts are stable.
//
// Thread: built on the thread that reads its reply; then main thread (the
// public operations and the delegate, see HCClassDelegate.h).
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kernel/callbacks/HCCallbackable.h"
#include "social/announcements/HCAnnouncementDelegate.h"
#include "social/forums/HCForumPost.h"
#include "social/forums/HCForumThread.h"
#include "transport/handles/HCRequestHandle.h"

class HCPaginatedSeries;

class HCAnnouncement final : public HCForumThread, public HCCallbackable {
public:
    using Text = std::optional<std::string>;
    enum SortType : unsigned { kByCreationDate = 0, kByUpdateDate = 1 };

    std::shared_ptr<HCService> getService() const override;
    const HCResourceDataMap& getDataMap() const override;
    bool canReceiveCallbacksNow() const override { return true; }

    // --- The game's interface ----------------------------------------------
    static void setDelegate(HCAnnouncementDelegate* delegate);
    // Sort type: creation date, update date, any other value unsorted.
    static HCRequestHandlePtr downloadAnnouncementsAndSortBy(unsigned sortType);
    HCRequestHandlePtr getPosts();
    // Clears the flag, keeps the later of the stored read date and this
    // announcement's, and recounts the service's unread ones from its kept
    // list (reported when the count changed), so marking a copy the game
    // holds and the kept one never counts twice.
    void markAsRead();

    // Newest first; -1 when this one sorts before `other`, 0, 1.
    int compareByCreationDate(const HCAnnouncement& other) const;
    int compareByUpdateDate(const HCAnnouncement& other) const;
    // Sticky ones first, then by creation date.
    int compareByCreationDateAndSticky(const HCAnnouncement& other) const;
    // Stable sorts by the orderings above; `sortType` as for the download.
    static void sort(std::vector<std::shared_ptr<HCAnnouncement>>& list, unsigned sortType);
    static void sortStickyFirst(std::vector<std::shared_ptr<HCAnnouncement>>& list);

    const Text& body() const { return body_; }
    const platform::DatePtr& originalPostDate() const { return originalPostDate_; }
    bool isImportant() const { return isImportant_; }
    bool isUnread() const { return isUnread_; }
    const Text& linkedClientApplicationId() const { return linkedClientApplicationId_; }

    // Data-map setters and getters (element texts).
    void setImportantFromString(const Text& text);
    std::string importantAsString() const;
    void setUnreadFromString(const Text& text);
    std::string unreadAsString() const;
    void setIsUnread(bool unread) { isUnread_ = unread; }
    // Keeps only the post's text.
    void setPost(HCForumPostPtr post);
    void setLinkedClientApplicationId(const Text& text) { linkedClientApplicationId_ = text; }
    void setOriginalPostDateFromString(const Text& text);

private:
    Text body_;
    platform::DatePtr originalPostDate_;
    bool isImportant_ = false;
    bool isUnread_ = false;
    Text linkedClientApplicationId_;
};

using HCAnnouncementPtr = std::shared_ptr<HCAnnouncement>;

#pragma once
// One discussion of a forum topic ("discussion"): its subject, who posted
// last and when, how many posts it holds, and whether it is locked, sticky
// and followed by the player. Announcements are threads too.
//
// Thread: built on the thread that reads its reply (the provider's request
// thread), then used by one thread at a time (the main thread); no lock.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"
#include "core/users/HCUser.h"
#include "platform/foundation/Date.h"

class HCForumThread : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "discussion"; }
    std::string getResourceDiscoveredNotification() const override { return std::string(); }
    const HCResourceDataMap& getDataMap() const override;

    const Text& title() const { return title_; }
    const HCUserPtr& lastPostAuthor() const { return lastPostAuthor_; }
    // Nil when the reply had no date or one the service's form does not fit.
    const platform::DatePtr& date() const { return date_; }
    int32_t postCount() const { return postCount_; }
    bool isLocked() const { return isLocked_; }
    bool isSticky() const { return isSticky_; }
    bool isSubscribed() const { return isSubscribed_; }

    void setTitle(const Text& text) { title_ = text; }
    void setLastPostAuthor(HCUserPtr author) { lastPostAuthor_ = std::move(author); }
    void setDate(platform::DatePtr date) { date_ = std::move(date); }
    void setPostCount(int32_t count) { postCount_ = count; }
    void setIsLocked(bool locked) { isLocked_ = locked; }
    void setIsSticky(bool sticky) { isSticky_ = sticky; }
    void setIsSubscribed(bool subscribed) { isSubscribed_ = subscribed; }

    // The element texts, read and written ("true"/"false", "%d", the service's date form).
    void setDateFromString(const Text& text);
    Text dateAsString() const;
    void setLockedFromString(const Text& text);
    std::string lockedAsString() const;
    void setPostCountFromString(const Text& text);
    std::string postCountAsString() const;
    void setStickyFromString(const Text& text);
    std::string stickyAsString() const;
    void setSubscribedFromString(const Text& text);
    std::string subscribedAsString() const;

private:
    Text title_;
    HCUserPtr lastPostAuthor_;
    platform::DatePtr date_;
    int32_t postCount_ = 0;
    bool isLocked_ = false;
    bool isSticky_ = false;
    bool isSubscribed_ = false;
};

using HCForumThreadPtr = std::shared_ptr<HCForumThread>;

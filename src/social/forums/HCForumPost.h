#pragma once
// One post ("post"): of a forum discussion, or a message of an instant-
// message conversation (isDiscussionConversation tells them apart, and the
// presence channel routes new posts by it). New posts found by the poller
// arrive as "post_discovered".
//
// Thread: built on the thread that reads its reply (the provider's request
// thread), then used by one thread at a time (the main thread); no lock.
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"
#include "core/users/HCUser.h"
#include "platform/foundation/Date.h"

class HCForumPost final : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "post"; }
    std::string getResourceDiscoveredNotification() const override { return "post_discovered"; }
    const HCResourceDataMap& getDataMap() const override;

    const HCUserPtr& author() const { return author_; }
    const Text& body() const { return body_; }
    const platform::DatePtr& date() const { return date_; }
    const Text& discussionId() const { return discussionId_; }
    void setDiscussionId(const Text& text) { discussionId_ = text; }
    bool isDiscussionConversation() const { return isDiscussionConversation_; }

    // Data-map setters and getters (element texts).
    void setBody(const Text& text) { body_ = text; }
    void setAuthor(HCUserPtr author) { author_ = std::move(author); }
    void setDateFromXml(const Text& text);
    Text dateToXml() const;
    void setIsDiscussionConversation(const Text& text);

private:
    HCUserPtr author_;
    Text body_;
    platform::DatePtr date_;
    Text discussionId_;
    bool isDiscussionConversation_ = false;
};

using HCForumPostPtr = std::shared_ptr<HCForumPost>;

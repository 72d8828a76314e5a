#pragma once
// One entry of the player's inbox ("subscription"): a forum discussion the
// player follows or a conversation, with its unread count.
//
// The type is read from "discussion_type": exactly "Forum" or
// "Conversation"; any other text leaves it as it was (a forum discussion for
// a new entry).
//
// Thread: built on the thread that reads its reply (the provider's request
// thread), then handed whole to the main thread; no lock.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"
#include "core/users/HCUser.h"
#include "platform/foundation/Date.h"
#include "social/conversations/HCConversation.h"
#include "social/forums/HCForumThread.h"

class HCSubscription final : public HCResource {
public:
    using Text = std::optional<std::string>;
    enum Type : int32_t { kForumThread = 0, kConversation = 1 };

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "subscription"; }
    std::string getResourceDiscoveredNotification() const override { return std::string(); }
    const HCResourceDataMap& getDataMap() const override;

    int32_t type() const { return type_; }
    bool isForumThread() const { return type_ == kForumThread; }
    bool isConversation() const { return type_ == kConversation; }
    const Text& discussionId() const { return discussionId_; }
    const Text& title() const { return title_; }
    const Text& summary() const { return summary_; }
    const Text& topicId() const { return topicId_; }
    const platform::DatePtr& lastActivity() const { return lastActivity_; }
    const platform::DatePtr& lastViewed() const { return lastViewed_; }
    int32_t unreadCount() const { return unreadCount_; }
    bool locked() const { return locked_; }
    const HCUserPtr& otherUser() const { return otherUser_; }
    const HCForumThreadPtr& discussion() const { return discussion_; }
    const HCConversationPtr& conversation() const { return conversation_; }

    // Data-map setters and getters (element texts).
    void setDiscussionId(const Text& text) { discussionId_ = text; }
    void setSummary(const Text& text) { summary_ = text; }
    void setTitle(const Text& text) { title_ = text; }
    void setTopicId(const Text& text) { topicId_ = text; }
    void setLastActivityFromString(const Text& text);
    Text lastActivityAsString() const;
    void setLastViewedFromString(const Text& text);
    Text lastViewedAsString() const;
    void setUnreadCountFromString(const Text& text);
    std::string unreadCountAsString() const;
    void setLockedFromString(const Text& text);
    std::string lockedAsString() const;
    void setTypeFromString(const Text& text);
    std::string typeFromString() const;
    void setOtherUser(HCUserPtr user) { otherUser_ = std::move(user); }
    void setDiscussion(HCForumThreadPtr thread) { discussion_ = std::move(thread); }
    void setConversation(HCConversationPtr conversation) { conversation_ = std::move(conversation); }

private:
    int32_t type_ = kForumThread;
    Text discussionId_;
    Text title_;
    Text summary_;
    Text topicId_;
    platform::DatePtr lastActivity_;
    platform::DatePtr lastViewed_;
    int32_t unreadCount_ = 0;
    bool locked_ = false;
    HCUserPtr otherUser_;
    HCForumThreadPtr discussion_;
    HCConversationPtr conversation_;
};

using HCSubscriptionPtr = std::shared_ptr<HCSubscription>;

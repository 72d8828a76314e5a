#pragma once
// A private conversation with one other player ("conversation"): its
// subject, the other player, when the last message came and how many there
// are. The messages themselves are HCForumPost.
//
// The reply names both players, under "user" and "other_user", in either
// order; setUser keeps the one that is not the local player, so otherUser
// ends as the other participant (nil when both are the local player). The
// local player's id is read through HCClientState, whose slot is locked, so
// reading a reply on the request thread while the player changes is safe.
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

class HCConversation final : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "conversation"; }
    std::string getResourceDiscoveredNotification() const override { return std::string(); }
    const HCResourceDataMap& getDataMap() const override;

    const Text& subject() const { return subject_; }
    const HCUserPtr& otherUser() const { return otherUser_; }
    const platform::DatePtr& lastMessageAt() const { return lastMessageAt_; }
    int32_t messageCount() const { return messageCount_; }

    void setSubject(const Text& text) { subject_ = text; }
    // Ignores the local player (and nil).
    void setUser(HCUserPtr user);
    void setLastMessageAtFromString(const Text& text);
    Text lastMessageAtAsString() const;
    void setMessageCountFromString(const Text& text);
    std::string messageCountAsString() const;

private:
    Text subject_;
    HCUserPtr otherUser_;
    platform::DatePtr lastMessageAt_;
    int32_t messageCount_ = 0;
};

using HCConversationPtr = std::shared_ptr<HCConversation>;

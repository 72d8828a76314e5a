#include "social/conversations/HCSubscription.h"

#include <array>

#include "core/resources/HCResourceText.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "social/conversations/HCSubscriptionService.h"

namespace {

// Indexed by the type.
constexpr std::array<const char*, 2> sStringForType = {"Forum", "Conversation"};

}  // namespace

std::shared_ptr<HCService> HCSubscription::getService() const
{
    return HCSubscriptionService::sharedInstance();
}

const HCResourceDataMap& HCSubscription::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("discussion_id", &HCSubscription::setDiscussionId, &HCSubscription::discussionId);
        m->addField("summary", &HCSubscription::setSummary, &HCSubscription::summary);
        m->addField("title", &HCSubscription::setTitle, &HCSubscription::title);
        m->addField("updated_at", &HCSubscription::setLastActivityFromString, &HCSubscription::lastActivityAsString);
        m->addField("last_viewed_at", &HCSubscription::setLastViewedFromString, &HCSubscription::lastViewedAsString);
        m->addField("unread_count", &HCSubscription::setUnreadCountFromString, &HCSubscription::unreadCountAsString);
        m->addField("locked", &HCSubscription::setLockedFromString, &HCSubscription::lockedAsString);
        m->addField("topic_id", &HCSubscription::setTopicId, &HCSubscription::topicId);
        m->addField("discussion_type", &HCSubscription::setTypeFromString, &HCSubscription::typeFromString);
        m->addNestedResourceField("user", &HCSubscription::setOtherUser, &HCSubscription::otherUser);
        m->addNestedResourceField("discussion", &HCSubscription::setDiscussion, &HCSubscription::discussion);
        m->addNestedResourceField("conversation", &HCSubscription::setConversation, &HCSubscription::conversation);
        return m;
    }();
    return *map;
}

void HCSubscription::setLastActivityFromString(const Text& text)
{
    lastActivity_ = HCResourceText::readDate(text);
}

HCSubscription::Text HCSubscription::lastActivityAsString() const
{
    return HCResourceText::dateText(lastActivity_);
}

void HCSubscription::setLastViewedFromString(const Text& text)
{
    lastViewed_ = HCResourceText::readDate(text);
}

HCSubscription::Text HCSubscription::lastViewedAsString() const
{
    return HCResourceText::dateText(lastViewed_);
}

void HCSubscription::setUnreadCountFromString(const Text& text)
{
    unreadCount_ = HCResourceText::readInt(text);
}

std::string HCSubscription::unreadCountAsString() const
{
    return HCResourceText::intText(unreadCount_);
}

void HCSubscription::setLockedFromString(const Text& text)
{
    locked_ = HCResourceText::readBool(text);
}

std::string HCSubscription::lockedAsString() const
{
    return HCResourceText::boolText(locked_);
}

void HCSubscription::setTypeFromString(const Text& text)
{
    if (!text) return;
    for (size_t i = 0; i < sStringForType.size(); ++i) {
        if (*text == sStringForType[i]) {
            type_ = static_cast<int32_t>(i);
            return;
        }
    }
}

std::string HCSubscription::typeFromString() const
{
    return sStringForType.at(static_cast<size_t>(type_));
}

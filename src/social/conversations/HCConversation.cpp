#include "social/conversations/HCConversation.h"

#include "core/resources/HCResourceText.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "social/conversations/HCConversationService.h"

std::shared_ptr<HCService> HCConversation::getService() const
{
    return HCConversationService::sharedInstance();
}

const HCResourceDataMap& HCConversation::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("subject", &HCConversation::setSubject, &HCConversation::subject);
        m->addField("updated_at", &HCConversation::setLastMessageAtFromString, &HCConversation::lastMessageAtAsString);
        m->addField("posts_count", &HCConversation::setMessageCountFromString, &HCConversation::messageCountAsString);
        m->addNestedResourceField("user", &HCConversation::setUser, &HCConversation::otherUser);
        m->addNestedResourceField("other_user", &HCConversation::setUser, &HCConversation::otherUser);
        return m;
    }();
    return *map;
}

void HCConversation::setUser(HCUserPtr user)
{
    if (user && !user->isLocalUser()) otherUser_ = std::move(user);
}

void HCConversation::setLastMessageAtFromString(const Text& text)
{
    lastMessageAt_ = HCResourceText::readDate(text);
}

HCConversation::Text HCConversation::lastMessageAtAsString() const
{
    return HCResourceText::dateText(lastMessageAt_);
}

void HCConversation::setMessageCountFromString(const Text& text)
{
    messageCount_ = HCResourceText::readInt(text);
}

std::string HCConversation::messageCountAsString() const
{
    return HCResourceText::intText(messageCount_);
}

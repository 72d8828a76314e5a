#include "social/forums/HCForumPost.h"

#include "core/resources/HCResourceText.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "social/forums/HCForumService.h"

std::shared_ptr<HCService> HCForumPost::getService() const
{
    return HCForumService::sharedInstance();
}

const HCResourceDataMap& HCForumPost::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("body", &HCForumPost::setBody, &HCForumPost::body);
        m->addNestedResourceField("user", &HCForumPost::setAuthor, &HCForumPost::author);
        m->addField("created_at", &HCForumPost::setDateFromXml, &HCForumPost::dateToXml);
        m->addField("discussion_id", &HCForumPost::setDiscussionId, &HCForumPost::discussionId);
        m->addField("is_discussion_conversation", &HCForumPost::setIsDiscussionConversation);
        return m;
    }();
    return *map;
}

void HCForumPost::setDateFromXml(const Text& text)
{
    date_ = HCResourceText::readDate(text);
}

HCForumPost::Text HCForumPost::dateToXml() const
{
    return HCResourceText::dateText(date_);
}

void HCForumPost::setIsDiscussionConversation(const Text& text)
{
    isDiscussionConversation_ = HCResourceText::readBool(text);
}

#include "social/forums/HCForumThread.h"

#include "core/resources/HCResourceText.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "social/forums/HCForumService.h"

std::shared_ptr<HCService> HCForumThread::getService() const
{
    return HCForumService::sharedInstance();
}

const HCResourceDataMap& HCForumThread::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("subject", &HCForumThread::setTitle, &HCForumThread::title);
        m->addNestedResourceField("user", &HCForumThread::setLastPostAuthor, &HCForumThread::lastPostAuthor);
        m->addField("updated_at", &HCForumThread::setDateFromString, &HCForumThread::dateAsString);
        m->addField("locked", &HCForumThread::setLockedFromString, &HCForumThread::lockedAsString);
        m->addField("posts_count", &HCForumThread::setPostCountFromString, &HCForumThread::postCountAsString);
        m->addField("sticky", &HCForumThread::setStickyFromString, &HCForumThread::stickyAsString);
        m->addField("subscribed", &HCForumThread::setSubscribedFromString, &HCForumThread::subscribedAsString);
        return m;
    }();
    return *map;
}

void HCForumThread::setDateFromString(const Text& text)
{
    date_ = HCResourceText::readDate(text);
}

HCForumThread::Text HCForumThread::dateAsString() const
{
    return HCResourceText::dateText(date_);
}

void HCForumThread::setLockedFromString(const Text& text)
{
    isLocked_ = HCResourceText::readBool(text);
}

std::string HCForumThread::lockedAsString() const
{
    return HCResourceText::boolText(isLocked_);
}

void HCForumThread::setPostCountFromString(const Text& text)
{
    postCount_ = HCResourceText::readInt(text);
}

std::string HCForumThread::postCountAsString() const
{
    return HCResourceText::intText(postCount_);
}

void HCForumThread::setStickyFromString(const Text& text)
{
    isSticky_ = HCResourceText::readBool(text);
}

std::string HCForumThread::stickyAsString() const
{
    return HCResourceText::boolText(isSticky_);
}

void HCForumThread::setSubscribedFromString(const Text& text)
{
    isSubscribed_ = HCResourceText::readBool(text);
}

std::string HCForumThread::subscribedAsString() const
{
    return HCResourceText::boolText(isSubscribed_);
}

#include "social/forums/HCForumTopic.h"

#include <algorithm>

#include "core/clientstate/HCClientState.h"
#include "core/resources/HCResourceText.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "social/forums/HCForumService.h"

std::shared_ptr<HCForumTopic> HCForumTopic::announcementsTopic()
{
    auto topic = HCResource::initWithId<HCForumTopic>("announcements");
    topic->title_ = "Announcements";
    return topic;
}

std::shared_ptr<HCForumTopic> HCForumTopic::suggestionsTopic(const Text& topicId)
{
    auto topic = HCResource::initWithId<HCForumTopic>(topicId ? topicId : HCClientState::suggestionsForumId());
    topic->title_ = "Suggestions";
    return topic;
}

std::shared_ptr<HCService> HCForumTopic::getService() const
{
    return HCForumService::sharedInstance();
}

const HCResourceDataMap& HCForumTopic::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("name", &HCForumTopic::setTitle, &HCForumTopic::title);
        m->addField("parent_id", &HCForumTopic::setParentId, &HCForumTopic::parentId);
        m->addField("discussions_count", &HCForumTopic::setThreadCountFromString, &HCForumTopic::threadCountAsString);
        m->addNestedResourceArrayField("children", &HCForumTopic::setChildren, &HCForumTopic::children);
        return m;
    }();
    return *map;
}

bool HCForumTopic::hasChildren() const
{
    if (!children_) return false;
    return std::any_of(children_->items().begin(), children_->items().end(),
                       [](const platform::ObjectPtr& child) { return platform::as<HCForumTopic>(child) != nullptr; });
}

void HCForumTopic::setThreadCountFromString(const Text& text)
{
    threadCount_ = HCResourceText::readInt(text);
}

std::string HCForumTopic::threadCountAsString() const
{
    return HCResourceText::intText(threadCount_);
}

void HCForumTopic::setChildren(std::shared_ptr<platform::Array> children)
{
    children_ = std::move(children);
    setIndentLevel(indentLevel_);
}

void HCForumTopic::setIndentLevel(int32_t level)
{
    indentLevel_ = std::clamp(level, 0, kMaxIndentLevel);
    if (indentLevel_ == kMaxIndentLevel || !children_) return;
    for (const auto& child : children_->items()) {
        if (auto topic = platform::as<HCForumTopic>(child)) topic->setIndentLevel(indentLevel_ + 1);
    }
}

#pragma once
// One topic of a game's forum tree ("topic"): its title, its parent, how
// many discussions it holds, and its child topics.
//
// Each generation of the tree sits one indent level deeper than its parent;
// setting a topic's level re-indents its whole subtree, down to
// kMaxIndentLevel: a tree nested deeper than any page can show (or a topic
// made its own descendant) stops there instead of recursing without end.
//
// Thread: built on the thread that reads its reply (the provider's request
// thread), then used by one thread at a time (the main thread); no lock.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"

class HCForumTopic final : public HCResource {
public:
    using Text = std::optional<std::string>;
    static constexpr int32_t kMaxIndentLevel = 16;

    // The announcements, shown as a topic: id "announcements", title "Announcements".
    static std::shared_ptr<HCForumTopic> announcementsTopic();
    // The suggestions topic "Suggestions": the given id, or the game's stored
    // suggestions forum id when nil.
    static std::shared_ptr<HCForumTopic> suggestionsTopic(const Text& topicId);

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "topic"; }
    std::string getResourceDiscoveredNotification() const override { return std::string(); }
    const HCResourceDataMap& getDataMap() const override;

    const Text& title() const { return title_; }
    const Text& parentId() const { return parentId_; }
    int32_t threadCount() const { return threadCount_; }
    // The child topics (HCForumTopic), nil when the reply had none.
    const std::shared_ptr<platform::Array>& children() const { return children_; }
    int32_t indentLevel() const { return indentLevel_; }
    bool isShowingChildren() const { return isShowingChildren_; }

    bool hasParent() const { return parentId_ && !parentId_->empty(); }
    bool hasChildren() const;

    void setTitle(const Text& text) { title_ = text; }
    void setParentId(const Text& text) { parentId_ = text; }
    void setThreadCountFromString(const Text& text);
    std::string threadCountAsString() const;
    // Takes the new children and brings them to this topic's depth.
    void setChildren(std::shared_ptr<platform::Array> children);
    // Held between 0 and kMaxIndentLevel; children one deeper, down to the cap.
    void setIndentLevel(int32_t level);
    void setIsShowingChildren(bool showing) { isShowingChildren_ = showing; }

private:
    Text title_;
    std::shared_ptr<platform::Array> children_;
    int32_t threadCount_ = 0;
    bool isShowingChildren_ = false;
    int32_t indentLevel_ = 0;
    Text parentId_;
};

using HCForumTopicPtr = std::shared_ptr<HCForumTopic>;

#pragma once
// The posts of one discussion ("ForumThreadView"), a page at a time, under
// a star button that follows or stops following the discussion, with a
// reply button while the discussion is open. A tapped post opens its
// author's profile carrying the post, so a report from there names it.
//
// Thread: main thread.
#include <memory>

#include "platform/ui/Button.h"
#include "social/forums/HCForumThread.h"
#include "social/forums/HCForumTopic.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCForumThreadViewController : public HCTableSequenceControllerHelper {
public:
    static constexpr const char* kSubscribedTitle = "Remove From My Conversations    ";
    static constexpr const char* kUnsubscribedTitle = "Add To My Conversations    ";

    static std::shared_ptr<HCForumThreadViewController> threadView(const HCForumThreadPtr& thread,
                                                                   const HCForumTopicPtr& topic);

    const HCForumThreadPtr& thread() const { return thread_; }
    // Also titles the page and sets the star for the new thread.
    void setThread(HCForumThreadPtr thread);
    const HCForumTopicPtr& topic() const { return topic_; }
    void setTopic(HCForumTopicPtr topic) { topic_ = std::move(topic); }
    const std::shared_ptr<platform::ui::Button>& subscribeButton() const { return subscribeButton_; }
    // The leading cell hands its star over here.
    void setSubscribeButton(std::shared_ptr<platform::ui::Button> button);
    // A page that offers its own reply (an announcement) sets this before it
    // appears: no star row and no reply button.
    bool hideSubscribeAndReplyButtons() const { return hideSubscribeAndReplyButtons_; }
    void setHideSubscribeAndReplyButtons(bool hide) { hideSubscribeAndReplyButtons_ = hide; }

    std::shared_ptr<HCService> getService() override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    void doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    std::string getNoDataFoundMessage() override { return "There are no available posts"; }
    bool usePlainTableSectionHeaders() override { return true; }
    bool shouldAlwaysRefreshWhenShown() override { return false; }
    std::optional<std::string> getLeadingCellControllerNameForSection(int section) override;
    void onLeadingCellWasLoaded(const platform::ui::TableViewCellPtr& cell, int section) override;
    void viewWillAppear(bool animated) override;
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;

    void _subscribe();
    void _reply();

    std::string kindName() const override { return "HCForumThreadViewController"; }

private:
    void setSubscribeButtonForSubscriptionStatus(bool subscribed);
    void _subscribeSuccess(std::shared_ptr<platform::Object> reply);
    void tellSubscribeFailed();

    HCForumThreadPtr thread_;
    HCForumTopicPtr topic_;
    std::shared_ptr<platform::ui::Button> subscribeButton_;
    bool hideSubscribeAndReplyButtons_ = false;
};

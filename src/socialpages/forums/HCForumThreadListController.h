#pragma once
// The discussions of one topic ("ForumThreadList"), a page at a time. The
// compose button opens the new-discussion form; the list is fetched again
// the one time it reappears after that form.
//
// Thread: main thread.
#include <memory>

#include "social/forums/HCForumTopic.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCForumThreadListController : public HCTableSequenceControllerHelper {
public:
    static std::shared_ptr<HCForumThreadListController> threadBrowser(const HCForumTopicPtr& topic);

    const HCForumTopicPtr& topic() const { return topic_; }
    void setTopic(HCForumTopicPtr topic) { topic_ = std::move(topic); }

    std::shared_ptr<HCService> getService() override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    void doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    std::string getNoDataFoundMessage() override { return "There are no discussions"; }
    bool usePlainTableSectionHeaders() override { return true; }
    bool shouldAlwaysRefreshWhenShown() override { return justPostedNewThread_; }
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;

    // The compose button's action.
    void _post();

    std::string kindName() const override { return "HCForumThreadListController"; }

private:
    HCForumTopicPtr topic_;
    bool justPostedNewThread_ = false;
};

#pragma once
// A game's forum topics ("ForumTopicList"): the page's context game, else
// the running game. A tap on a topic opens its discussions; the topic
// without an id stands for the chat rooms and opens the global rooms.
//
// Thread: main thread.
#include <memory>

#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCForumTopicListController : public HCTableSequenceControllerHelper {
public:
    static std::shared_ptr<HCForumTopicListController> topicBrowser();

    std::shared_ptr<HCService> getService() override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    void doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    std::string getNoDataFoundMessage() override { return "There are no available discussions"; }
    bool usePlainTableSectionHeaders() override { return true; }
    std::optional<std::string> getTableHeaderControllerName() override { return std::nullopt; }
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    void viewWillAppear(bool animated) override;

    std::string kindName() const override { return "HCForumTopicListController"; }
};

#include "socialpages/forums/HCForumThreadListController.h"

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "social/forums/HCForumService.h"
#include "social/forums/HCForumThread.h"
#include "socialpages/forums/HCForumThreadViewController.h"
#include "socialpages/forums/HCPostNewMessage.h"
#include "uiframework/HCControllerLoader.h"

std::shared_ptr<HCForumThreadListController> HCForumThreadListController::threadBrowser(const HCForumTopicPtr& topic)
{
    auto page = HCControllerLoader::load<HCForumThreadListController>("ForumThreadList");
    if (page) page->setTopic(topic);
    return page;
}

std::shared_ptr<HCService> HCForumThreadListController::getService()
{
    return HCForumService::sharedInstance();
}

void HCForumThreadListController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCForumThread>("ForumThread");
}

void HCForumThreadListController::doIndexActionWithPage(int page, const HCDelegate& onSuccess,
                                                        const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    HCForumService::getThreadsForTopic(topic_ ? topic_->resourceId() : std::nullopt, page, onSuccess, onFailure);
}

void HCForumThreadListController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    setTitle(topic_ ? topic_->title().value_or("") : std::string());
    std::weak_ptr<HCForumThreadListController> weakSelf =
        std::static_pointer_cast<HCForumThreadListController>(platform::self(this));
    navigationItem()->setRightBarButtonItem(
        platform::ui::BarButtonItem::withSystemItem(platform::ui::SystemItem::Compose, [weakSelf](auto&) {
            if (auto page = weakSelf.lock()) page->_post();
        }));
    HCTableSequenceControllerHelper::viewWillAppear(animated);
}

void HCForumThreadListController::viewDidAppear(bool animated)
{
    HCTableSequenceControllerHelper::viewDidAppear(animated);
    justPostedNewThread_ = false;
}

void HCForumThreadListController::_post()
{
    HC_CHECK_MAIN_THREAD();
    auto navigation = navigationController();
    auto form = HCPostNewMessage::postNewMessageInTopic(topic_);
    if (!navigation || !form) return;
    justPostedNewThread_ = true;
    navigation->pushViewController(form, true);
}

void HCForumThreadListController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath&)
{
    HC_CHECK_MAIN_THREAD();
    auto thread = platform::as<HCForumThread>(resource);
    auto navigation = navigationController();
    if (!thread || !navigation) return;
    if (auto page = HCForumThreadViewController::threadView(thread, topic_)) navigation->pushViewController(page, true);
}

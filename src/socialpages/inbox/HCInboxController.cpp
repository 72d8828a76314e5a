#include "socialpages/inbox/HCInboxController.h"

#include <utility>

#include "core/halcyon/Halcyon.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "social/conversations/HCConversation.h"
#include "social/conversations/HCConversationService.h"
#include "social/conversations/HCSubscription.h"
#include "social/conversations/HCSubscriptionService.h"
#include "socialpages/conversations/HCConversationController.h"
#include "socialpages/forums/HCForumThreadViewController.h"
#include "socialpages/inbox/HCFriendPickerController.h"
#include "uiframework/HCPageRequestDelegates.h"

void HCInboxController::initAndBeginConversationWith(const HCUserPtr& user)
{
    HC_CHECK_MAIN_THREAD();
    pendingConversationUser_ = user;
}

std::shared_ptr<HCService> HCInboxController::getService()
{
    return HCSubscriptionService::sharedInstance();
}

void HCInboxController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCSubscription>("Inbox");
}

void HCInboxController::doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    HCSubscriptionService::getSubscriptionsPage(static_cast<uint32_t>(page), onSuccess, onFailure);
}

void HCInboxController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath&)
{
    HC_CHECK_MAIN_THREAD();
    auto subscription = platform::as<HCSubscription>(resource);
    auto navigation = navigationController();
    if (!subscription || !navigation) return;
    platform::ui::ViewControllerPtr page;
    if (subscription->isForumThread()) {
        auto topic = HCResource::initWithId<HCForumTopic>(subscription->topicId());
        auto thread = subscription->discussion();
        if (!thread) {
            thread = HCResource::initWithId<HCForumThread>(subscription->discussionId());
            thread->setTitle(subscription->title());
        }
        thread->setIsSubscribed(true);
        page = HCForumThreadViewController::threadView(thread, topic);
    } else if (subscription->isConversation()) {
        page = HCConversationController::conversationWithId(subscription->discussionId(), subscription->otherUser());
    }
    if (page) navigation->pushViewController(page, true);
}

// --- deleting -----------------------------------------------------------------------

void HCInboxController::actionPressedForTag(int tag, const IndexPath& indexPath)
{
    HC_CHECK_MAIN_THREAD();
    if (tag != 1) return;
    // The row may move before the sheet is answered (the list reloads when
    // shown); the subscription it showed is what the player chose.
    pendingDeletion_ = getResourceAtIndexPath(indexPath);
    if (!pendingDeletion_) return;
    auto self = std::static_pointer_cast<HCInboxController>(platform::self(this));
    auto sheet = platform::ui::ActionSheet::make(kDeleteSheetTitle,
                                                 std::static_pointer_cast<platform::ui::ActionSheetDelegate>(self),
                                                 "Cancel", "Delete");
    sheet->showInView(tableView());
}

void HCInboxController::actionSheetClickedButtonAtIndex(platform::ui::ActionSheet& sheet, int buttonIndex)
{
    HC_CHECK_MAIN_THREAD();
    auto subscription = platform::as<HCSubscription>(pendingDeletion_);
    pendingDeletion_ = nullptr;
    if (!subscription || buttonIndex == sheet.cancelButtonIndex()) return;
    // A failed delete tells the player nothing: the row simply stays.
    auto [deleted, failed] = pageRequestDelegates<HCInboxController>(
        std::static_pointer_cast<HCInboxController>(platform::self(this)),
        [](auto& page, const auto&) { page.reloadDataFromServer(); }, {});
    HCConversationService::deleteConversation(subscription->discussionId(), deleted, failed);
}

// --- starting a conversation ----------------------------------------------------------

void HCInboxController::viewDidAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCTableSequenceControllerHelper::viewDidAppear(animated);
    if (pendingConversationUser_) startPendingConversation();
}

void HCInboxController::_newMessagePressed()
{
    HC_CHECK_MAIN_THREAD();
    setComposeEnabled(false);
    auto self = std::static_pointer_cast<HCFriendPickerDelegate>(
        std::static_pointer_cast<HCInboxController>(platform::self(this)));
    if (!HCFriendPickerController::launchPickerWithDelegate(self, kPickerPrompt)) setComposeEnabled(true);
}

void HCInboxController::pickerCancelled()
{
    HC_CHECK_MAIN_THREAD();
    setComposeEnabled(true);
}

void HCInboxController::pickerFinishedWithSelectedUser(const HCUserPtr& user)
{
    HC_CHECK_MAIN_THREAD();
    setComposeEnabled(true);
    if (!user) return;
    pendingConversationUser_ = user;
    startPendingConversation();
}

void HCInboxController::startPendingConversation()
{
    if (startingConversation_ || !pendingConversationUser_) return;
    startingConversation_ = true;
    showLoadingScreen();
    // A start the provider drops would otherwise leave the loading screen up.
    auto [started, failed] = pageRequestDelegates<HCInboxController>(
        std::static_pointer_cast<HCInboxController>(platform::self(this)),
        [](auto& page, const auto& reply) { page._conversationStarted(platform::as<HCPaginatedSeries>(reply)); },
        [](auto& page, const auto&) { page._conversationError(); }, tellWithAlert<HCInboxController>(kErrorTitle, kStartErrorMessage, "Ok"));
    HCConversationService::startConversationWithUser(pendingConversationUser_->resourceId(), started, failed);
}

void HCInboxController::_conversationStarted(std::shared_ptr<HCPaginatedSeries> series)
{
    HC_CHECK_MAIN_THREAD();
    startingConversation_ = false;
    // Taken before the push: pushing ends a transition still running (the
    // picker sliding away), and the appearance of this page that it brings
    // would start a conversation still pending all over again.
    auto pendingUser = std::exchange(pendingConversationUser_, nullptr);
    if (!pendingUser) return;
    hideLoadingScreen();
    auto conversation = series && series->count() == 1 ? platform::as<HCConversation>(series->objectAtIndex(0)) : nullptr;
    auto navigation = navigationController();
    if (conversation && navigation) {
        auto user = conversation->otherUser() ? conversation->otherUser() : pendingUser;
        if (auto page = HCConversationController::conversationWithId(conversation->resourceId(), user))
            navigation->pushViewController(page, true);
    }
}

void HCInboxController::_conversationError()
{
    HC_CHECK_MAIN_THREAD();
    startingConversation_ = false;
    pendingConversationUser_ = nullptr;
    hideLoadingScreen();
}

void HCInboxController::setComposeEnabled(bool enabled)
{
    if (auto button = navigationItem()->rightBarButtonItem()) button->setEnabled(enabled);
}

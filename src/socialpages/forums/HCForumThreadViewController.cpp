#include "socialpages/forums/HCForumThreadViewController.h"

#include "core/images/HCImageLoader.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "social/forums/HCForumPost.h"
#include "social/forums/HCForumService.h"
#include "socialpages/forums/HCForumCells.h"
#include "socialpages/forums/HCPostNewMessage.h"
#include "socialpages/profile/HCProfileController.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCPageRequestDelegates.h"

std::shared_ptr<HCForumThreadViewController> HCForumThreadViewController::threadView(const HCForumThreadPtr& thread,
                                                                                     const HCForumTopicPtr& topic)
{
    auto page = HCControllerLoader::load<HCForumThreadViewController>("ForumThreadView");
    if (!page) return nullptr;
    page->setThread(thread);
    page->setTopic(topic);
    return page;
}

void HCForumThreadViewController::setThread(HCForumThreadPtr thread)
{
    thread_ = std::move(thread);
    if (!thread_) return;
    setTitle(thread_->title().value_or(""));
    setSubscribeButtonForSubscriptionStatus(thread_->isSubscribed());
}

void HCForumThreadViewController::setSubscribeButton(std::shared_ptr<platform::ui::Button> button)
{
    subscribeButton_ = std::move(button);
    setSubscribeButtonForSubscriptionStatus(thread_ && thread_->isSubscribed());
}

void HCForumThreadViewController::setSubscribeButtonForSubscriptionStatus(bool subscribed)
{
    if (!subscribeButton_) return;
    auto image = HCImageLoader::loadImage(subscribed ? "HCButtonStarFilledSmall.png" : "HCButtonStarEmptySmall.png");
    for (unsigned state : {platform::ui::ControlStateNormal, platform::ui::ControlStateHighlighted,
                           platform::ui::ControlStateSelected, platform::ui::ControlStateDisabled}) {
        subscribeButton_->setTitle(std::string(subscribed ? kSubscribedTitle : kUnsubscribedTitle), state);
        subscribeButton_->setImage(image, state);
    }
}

std::shared_ptr<HCService> HCForumThreadViewController::getService()
{
    return HCForumService::sharedInstance();
}

void HCForumThreadViewController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath&)
{
    HC_CHECK_MAIN_THREAD();
    auto post = platform::as<HCForumPost>(resource);
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    if (!post || !post->author() || !navigation) return;
    auto profile = HCProfileController::getProfileControllerForUser(post->author(), navigation);
    if (!profile) return;
    profile->setReportUserForumPost(post);
    profile->setForumThreadView(platform::self(this));
    HCProfileController::pushInContextOfUser(navigation, profile, post->author());
}

void HCForumThreadViewController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCForumPost>("ForumPost");
}

void HCForumThreadViewController::doIndexActionWithPage(int page, const HCDelegate& onSuccess,
                                                        const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    HCForumService::getPostsForThread(thread_ ? thread_->resourceId() : std::nullopt, page, onSuccess, onFailure);
}

std::optional<std::string> HCForumThreadViewController::getLeadingCellControllerNameForSection(int)
{
    if (hideSubscribeAndReplyButtons_) return std::nullopt;
    return "ForumSubscribeButton";
}

void HCForumThreadViewController::onLeadingCellWasLoaded(const platform::ui::TableViewCellPtr& cell, int)
{
    HC_CHECK_MAIN_THREAD();
    auto leading = std::dynamic_pointer_cast<HCForumSubscribeButtonCell>(cell);
    if (!leading) return;
    const auto& button = leading->button();
    std::weak_ptr<HCForumThreadViewController> weakSelf =
        std::static_pointer_cast<HCForumThreadViewController>(platform::self(this));
    button->removeTarget(nullptr, platform::ui::ControlEventTouchUpInside);
    button->addTarget(
        this,
        [weakSelf](auto&) {
            if (auto page = weakSelf.lock()) page->_subscribe();
        },
        platform::ui::ControlEventTouchUpInside);
    setSubscribeButton(button);
}

void HCForumThreadViewController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    if (thread_) setTitle(thread_->title().value_or(""));
    HCTableSequenceControllerHelper::viewWillAppear(animated);
    if (thread_ && !thread_->isLocked() && !hideSubscribeAndReplyButtons_) {
        std::weak_ptr<HCForumThreadViewController> weakSelf =
            std::static_pointer_cast<HCForumThreadViewController>(platform::self(this));
        navigationItem()->setRightBarButtonItem(platform::ui::BarButtonItem::withImage(
            HCImageLoader::loadImage("HCButtonReplyToThread.png"), platform::ui::BarButtonStyle::Plain,
            [weakSelf](auto&) {
                if (auto page = weakSelf.lock()) page->_reply();
            }));
    }
    setSubscribeButtonForSubscriptionStatus(thread_ && thread_->isSubscribed());
}

void HCForumThreadViewController::_subscribe()
{
    HC_CHECK_MAIN_THREAD();
    if (!thread_) return;
    auto [success, failure] = pageRequestDelegates<HCForumThreadViewController>(
        std::static_pointer_cast<HCForumThreadViewController>(platform::self(this)),
        [](auto& page, const auto& reply) { page._subscribeSuccess(reply); },
        [](auto& page, const auto&) { page.hideLoadingScreen(); },
        [](auto& page, const auto&) { page.tellSubscribeFailed(); });
    const auto topicId = topic_ ? topic_->resourceId() : std::nullopt;
    showLoadingScreen();
    // A call refused before any request answers its failure at once, and a
    // request the provider drops answers it later: either takes the loading
    // screen down again.
    if (thread_->isSubscribed()) {
        HCForumService::unsubscribeFromThread(thread_->resourceId(), topicId, success, failure);
    } else {
        HCForumService::subscribeToThread(thread_->resourceId(), topicId, success, failure);
    }
}

void HCForumThreadViewController::_subscribeSuccess(std::shared_ptr<platform::Object>)
{
    HC_CHECK_MAIN_THREAD();
    hideLoadingScreen();
    if (!thread_) return;
    thread_->setIsSubscribed(!thread_->isSubscribed());
    setSubscribeButtonForSubscriptionStatus(thread_->isSubscribed());
}

void HCForumThreadViewController::tellSubscribeFailed()
{
    HC_CHECK_MAIN_THREAD();
    const bool subscribed = thread_ && thread_->isSubscribed();
    platform::ui::AlertView::make("Error Occurred",
                                  std::string("Could not ") + (subscribed ? "unsubscribe from" : "subscribe to") +
                                      " thread. Please try again later.",
                                  {}, std::string("Ok"))
        ->show();
}

void HCForumThreadViewController::_reply()
{
    HC_CHECK_MAIN_THREAD();
    if (!thread_) return;
    if (thread_->isLocked()) {
        platform::ui::AlertView::make("Thread is Locked", "Cannot post in thread. It is locked.", {}, std::string("Ok"))
            ->show();
        return;
    }
    auto navigation = navigationController();
    auto form = HCPostNewMessage::postNewMessageInThread(thread_, topic_);
    if (navigation && form) navigation->pushViewController(form, true);
}

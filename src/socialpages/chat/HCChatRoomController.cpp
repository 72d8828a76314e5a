#include "socialpages/chat/HCChatRoomController.h"

#include <algorithm>

#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageLoader.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Application.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/NavigationController.h"
#include "social/chat/HCChatMessage.h"
#include "social/chat/HCChatMessageService.h"
#include "social/chat/HCChatRoomInstanceService.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCPageRequestDelegates.h"
#include "uiframework/HCUIKitCategories.h"

HCChatRoomController::~HCChatRoomController()
{
    platform::NotificationCenter::defaultCenter().removeObserver(this);
}

std::shared_ptr<HCService> HCChatRoomController::getService()
{
    return HCChatMessageService::sharedInstance();
}

void HCChatRoomController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCChatMessage>("ChatRoomChatMessage");
}

void HCChatRoomController::doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate&)
{
    // The lines come from the poller, and may come before the page's first
    // load: that load keeps what they brought.
    HCPaginatedSeries::Objects shown;
    if (!sections().empty() && sections().front()->page()) shown = sections().front()->page()->objects();
    onSuccess.invoke(HCPaginatedSeries::paginatedSeriesFromArray(shown));
}

std::optional<std::string> HCChatRoomController::getNotificationToRefreshAfter()
{
    return HCChatMessage().getResourceDiscoveredNotification();
}

void HCChatRoomController::onResourcesDownloaded(const HCPaginatedSeriesPtr& series)
{
    HCTableSequenceControllerHelper::onResourcesDownloaded(series);
    if (didScrollToBottom_ || Halcyon::isLargeScreen() || sections().empty()) return;
    const int rows = numberOfRowsInSection(*tableView(), 0);
    if (rows < 1) return;
    didScrollToBottom_ = true;
    tableView()->scrollToRowAtIndexPath(IndexPath{0, rows - 1}, platform::ui::TableViewScrollPosition::Bottom, true);
}

void HCChatRoomController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    HCTableSequenceControllerHelper::viewDidLoad();
    messageBox_ = HCControllerLoader::load<HCChatRoomMessageBoxController>("ChatRoomMessageBox");
}

platform::ui::ViewPtr HCChatRoomController::getBottomView()
{
    HC_CHECK_MAIN_THREAD();
    if (!messageBox_) return nullptr;
    if (bottomContainer_) return bottomContainer_;
    auto box = messageBox_->view();
    const platform::ui::Rect frame(0, 0, box->frame().width(), box->frame().height());
    if (Halcyon::isLargeScreen()) {
        auto background = platform::ui::ImageView::make(frame);
        background->setImage(HCImageLoader::loadImage("HCCustomBottomViewBackgroundIPad.png"));
        background->setBackgroundColor(platform::ui::Color::clearColor());
        background->setClipsToBounds(true);
        background->setUserInteractionEnabled(true);
        bottomContainer_ = background;
    } else {
        bottomContainer_ = platform::ui::View::make(frame);
    }
    box->setFrame(frame);
    bottomContainer_->addSubview(box);
    return bottomContainer_;
}

void HCChatRoomController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCTableSequenceControllerHelper::viewWillAppear(animated);
    setTitle(roomInstance_ ? roomInstance_->roomName().value_or("") : std::string());
    auto& center = platform::NotificationCenter::defaultCenter();
    std::weak_ptr<HCChatRoomController> weakSelf =
        std::static_pointer_cast<HCChatRoomController>(platform::self(this));
    center.addObserver(this, platform::ui::KeyboardWillShowNotification, [weakSelf](const auto& notification) {
        if (auto page = weakSelf.lock()) page->keyboardWillShow(notification);
    });
    center.addObserver(this, platform::ui::KeyboardWillHideNotification, [weakSelf](const auto&) {
        if (auto page = weakSelf.lock()) page->keyboardWillHide();
    });
    if (messageBox_) messageBox_->viewWillAppear(animated);
}

void HCChatRoomController::viewDidAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCTableSequenceControllerHelper::viewDidAppear(animated);
    if (!hasAppearedBefore_) {
        Halcyon::setPollingFrequency(static_cast<double>(Halcyon::getPollingFrequencyInChat()));
    } else {
        rejoinRoom();
    }
    hasAppearedBefore_ = true;
    if (messageBox_) messageBox_->viewDidAppear(animated);
}

void HCChatRoomController::viewWillDisappear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCTableSequenceControllerHelper::viewWillDisappear(animated);
    if (isLandscape()) setTopBarsVisible(true);
    if (messageBox_) messageBox_->viewWillDisappear(animated);
    Halcyon::setPollingToDefaultFrequency();
    auto& center = platform::NotificationCenter::defaultCenter();
    center.removeObserver(this, platform::ui::KeyboardWillShowNotification);
    center.removeObserver(this, platform::ui::KeyboardWillHideNotification);
    isKeyboardShown_ = false;
}

void HCChatRoomController::viewDidDisappear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCTableSequenceControllerHelper::viewDidDisappear(animated);
    if (messageBox_) messageBox_->viewDidDisappear(animated);
}

void HCChatRoomController::rejoinRoom()
{
    HC_CHECK_MAIN_THREAD();
    // A rejoin dropped unanswered has not kept the spot either.
    auto [rejoined, failed] = pageRequestDelegates<HCChatRoomController>(
        std::static_pointer_cast<HCChatRoomController>(platform::self(this)),
        [](auto& page, const auto&) { page.onRejoinedRoom(); }, [](auto& page, const auto&) { page.onFailedToRejoinRoom(); });
    HCChatRoomInstanceService::attemptToJoinRoom(roomInstance_, true, rejoined, failed);
}

void HCChatRoomController::onRejoinedRoom()
{
    HC_CHECK_MAIN_THREAD();
    // A page pushed over the room meanwhile set the normal rate: it stays.
    if (isVisible()) Halcyon::setPollingFrequency(static_cast<double>(Halcyon::getPollingFrequencyInChat()));
}

void HCChatRoomController::onFailedToRejoinRoom()
{
    HC_CHECK_MAIN_THREAD();
    // Asked before the room leaves the screen: a room the player had left tells nobody.
    const bool shown = pageIsShown(*this);
    auto navigation = navigationController();
    if (!navigation || HalcyonDashboard::isShowingErrorScreenInNavController(navigation)) return;
    if (std::dynamic_pointer_cast<HCChatRoomController>(navigation->visibleViewController())) {
        navigation->popViewController(true);
    }
    if (shown) showRequestFailureAlert("Room Full!", "Sorry, you've lost your spot due to inactivity.", "OK");
}

bool HCChatRoomController::isLandscape() const
{
    return platform::ui::isLandscape(interfaceOrientation());
}

void HCChatRoomController::keyboardWillShow(const platform::Notification& notification)
{
    HC_CHECK_MAIN_THREAD();
    if (isKeyboardShown_) return;
    auto table = tableView();
    auto offset = table->contentOffset();
    if (Halcyon::isLargeScreen()) {
        offset.y += kKeyboardAdjustment;
        table->setContentOffset(offset, true);
    } else {
        keyboardHeight_ = notification.userInfo ? HCgetKeyboardSize(*notification.userInfo).height : 0;
        if (isLandscape()) setTopBarsVisible(false);
        if (auto host = std::dynamic_pointer_cast<HCBottomViewHost>(navigationController()))
            host->adjustForKeyboard(true, keyboardHeight_);
        const double limit = std::max(0.0, table->contentSize().height - table->bounds().height());
        offset.y = std::min(offset.y + keyboardHeight_, limit);
        table->setContentOffset(offset, false);
    }
    isKeyboardShown_ = true;
}

void HCChatRoomController::keyboardWillHide()
{
    HC_CHECK_MAIN_THREAD();
    if (!isKeyboardShown_) return;
    if (!Halcyon::isLargeScreen()) {
        double barHeight = 0;
        if (isLandscape()) {
            setTopBarsVisible(true);
            if (auto navigation = navigationController()) barHeight = navigation->navigationBar()->frame().height();
        }
        auto table = tableView();
        auto offset = table->contentOffset();
        offset.y = std::max(0.0, offset.y - keyboardHeight_ + barHeight);
        table->setContentOffset(offset, true);
        if (auto host = std::dynamic_pointer_cast<HCBottomViewHost>(navigationController()))
            host->adjustForKeyboard(false, keyboardHeight_);
    }
    isKeyboardShown_ = false;
}

void HCChatRoomController::setTopBarsVisible(bool visible)
{
    auto navigation = navigationController();
    if (!navigation || navigation->isNavigationBarHidden() != visible) return;
    navigation->setNavigationBarHidden(!visible, true);
    auto bar = navigation->navigationBar()->frame();
    bar.size.width = view()->frame().width();
    navigation->navigationBar()->setFrame(bar);
}

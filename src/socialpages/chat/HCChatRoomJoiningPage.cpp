#include "socialpages/chat/HCChatRoomJoiningPage.h"

#include "dashboard/HCDeadEndErrorController.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "social/chat/HCChatRoomInstanceService.h"
#include "socialpages/chat/HCChatRoomController.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCPageRequestDelegates.h"

void HCChatRoomJoiningPage::pushChatRoom(const HCChatRoomInstancePtr& room,
                                         const std::shared_ptr<platform::ui::NavigationController>& navigation)
{
    HC_CHECK_MAIN_THREAD();
    auto page = HCControllerLoader::load<HCChatRoomController>("ChatRoom");
    if (!page || !navigation) return;
    page->setRoomInstance(room);
    navigation->pushViewController(page, true);
}

void HCChatRoomJoiningPage::pushRoomFullScreen(const std::shared_ptr<platform::ui::NavigationController>& navigation)
{
    pushErrorScreen(navigation, kRoomFullMessage);
}

void HCChatRoomJoiningPage::pushErrorScreen(const std::shared_ptr<platform::ui::NavigationController>& navigation,
                                            const std::string& message)
{
    HC_CHECK_MAIN_THREAD();
    if (!navigation || HalcyonDashboard::isShowingErrorScreenInNavController(navigation)) return;
    auto page = HCControllerLoader::load<HCDeadEndErrorController>("DeadEndError");
    if (!page) return;
    page->setMessage(message);
    navigation->pushViewController(page, true);
}

bool HCChatRoomJoiningPage::isInHiddenTab() const
{
    auto tabs = tabBarController();
    if (!tabs) return false;
    auto navigation = navigationController();
    const auto& shown = tabs->selectedViewController();
    return shown != (navigation ? std::static_pointer_cast<platform::ui::ViewController>(navigation) : nullptr);
}

bool HCChatRoomJoiningPage::beginEnteringRoom()
{
    HC_CHECK_MAIN_THREAD();
    if (enteringRoom_) return false;
    enteringRoom_ = true;
    enteringRoomChanged();
    return true;
}

void HCChatRoomJoiningPage::endEnteringRoom()
{
    HC_CHECK_MAIN_THREAD();
    if (!enteringRoom_) return;
    enteringRoom_ = false;
    enteringRoomChanged();
}

void HCChatRoomJoiningPage::enterRoom(const HCChatRoomInstancePtr& room)
{
    HC_CHECK_MAIN_THREAD();
    if (!room || !beginEnteringRoom()) return;
    showLoadingScreen();
    attemptToJoinRoom(room);
}

void HCChatRoomJoiningPage::attemptToJoinRoom(const HCChatRoomInstancePtr& room)
{
    HC_CHECK_MAIN_THREAD();
    if (isInHiddenTab()) {
        endEnteringRoom();
        hideLoadingScreen();
        return;
    }
    auto self = std::static_pointer_cast<HCChatRoomJoiningPage>(platform::self(this));
    // A join that is never answered (not sent, or dropped) lets the page go
    // back to the player; only a refused one, on screen, shows the room full.
    auto [joined, failed] = pageRequestDelegates<HCChatRoomJoiningPage>(
        self, [](auto& page, const platform::ObjectPtr& reply) { page.onJoinedRoom(reply); },
        [](auto& page, const platform::ObjectPtr&) {
            page.endEnteringRoom();
            page.hideLoadingScreen();
        },
        [](auto& page, const platform::ObjectPtr&) { pushRoomFullScreen(page.navigationController()); },
        HCDroppedRequest::Untold);
    HCChatRoomInstanceService::attemptToJoinRoom(room, false, joined, failed);
}

void HCChatRoomJoiningPage::onJoinedRoom(const platform::ObjectPtr&)
{
    HC_CHECK_MAIN_THREAD();
    endEnteringRoom();
    hideLoadingScreen();
    if (isInHiddenTab()) return;
    pushChatRoom(HCChatRoomInstanceService::getCachedLastRoomJoined(), navigationController());
}

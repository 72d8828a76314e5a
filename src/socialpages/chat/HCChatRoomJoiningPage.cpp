#include "socialpages/chat/HCChatRoomJoiningPage.h"

#include "dashboard/HCDeadEndErrorController.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "social/chat/HCChatRoomInstanceService.h"
#include "socialpages/chat/HCChatRoomController.h"
#include "uiframework/HCControllerLoader.h"

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

void HCChatRoomJoiningPage::attemptToJoinRoom(const HCChatRoomInstancePtr& room)
{
    HC_CHECK_MAIN_THREAD();
    if (isInHiddenTab()) {
        hideLoadingScreen();
        return;
    }
    auto self = platform::self(this);
    auto handle = HCChatRoomInstanceService::attemptToJoinRoom(room, false,
                                                               HCDelegate(self, &HCChatRoomJoiningPage::onJoinedRoom),
                                                               HCDelegate(self, &HCChatRoomJoiningPage::onFailedToJoinRoom));
    // A service that is not running calls nothing back.
    if (!handle && !HCChatRoomInstanceService::sharedInstance()) hideLoadingScreen();
}

void HCChatRoomJoiningPage::onJoinedRoom(std::shared_ptr<platform::Object>)
{
    HC_CHECK_MAIN_THREAD();
    hideLoadingScreen();
    if (isInHiddenTab()) return;
    pushChatRoom(HCChatRoomInstanceService::getCachedLastRoomJoined(), navigationController());
}

void HCChatRoomJoiningPage::onFailedToJoinRoom(std::shared_ptr<platform::Object>)
{
    HC_CHECK_MAIN_THREAD();
    hideLoadingScreen();
    pushRoomFullScreen(navigationController());
}

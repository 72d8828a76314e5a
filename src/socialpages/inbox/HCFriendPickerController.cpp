#include "socialpages/inbox/HCFriendPickerController.h"

#include "dashboard/HalcyonDashboard.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "social/friends/HCFriendsService.h"
#include "uiframework/HCControllerLoader.h"

std::shared_ptr<HCFriendPickerController> HCFriendPickerController::launchPickerWithDelegate(
    const std::shared_ptr<HCFriendPickerDelegate>& delegate, const std::string& promptText)
{
    HC_CHECK_MAIN_THREAD();
    auto presenter = HalcyonDashboard::getActiveNavigationController();
    auto picker = HCControllerLoader::load<HCFriendPickerController>("FriendPicker");
    if (!presenter || !picker) return nullptr;
    picker->delegate_ = delegate;
    picker->promptText_ = promptText;
    picker->presenter_ = presenter;
    picker->shown_ = true;
    auto navigation = std::make_shared<platform::ui::NavigationController>();
    navigation->initWithRootViewController(picker);
    presenter->presentModalViewController(navigation, true);
    return picker;
}

std::shared_ptr<HCService> HCFriendPickerController::getService()
{
    return HCFriendsService::sharedInstance();
}

void HCFriendPickerController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCUser>("User");
}

void HCFriendPickerController::doIndexActionWithPage(int page, const HCDelegate& onSuccess,
                                                     const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    HCFriendsService::getUsersFollowedByLocalUser(page, onSuccess, onFailure);
}

void HCFriendPickerController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    setTitle(promptText_);
    std::weak_ptr<HCFriendPickerController> weakSelf =
        std::static_pointer_cast<HCFriendPickerController>(platform::self(this));
    navigationItem()->setLeftBarButtonItem(platform::ui::BarButtonItem::withTitle(kCancelTitle, platform::ui::BarButtonStyle::Bordered, [weakSelf](auto&) {
        if (auto picker = weakSelf.lock()) picker->_cancel();
    }));
    HCTableSequenceControllerHelper::viewWillAppear(animated);
}

void HCFriendPickerController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath&)
{
    HC_CHECK_MAIN_THREAD();
    if (auto user = platform::as<HCUser>(resource)) finish(user);
}

void HCFriendPickerController::_cancel()
{
    HC_CHECK_MAIN_THREAD();
    finish(nullptr);
}

void HCFriendPickerController::finish(const HCUserPtr& user)
{
    if (!shown_) return;
    shown_ = false;
    // A load still running must not hold the loading screen over a closed picker.
    hideLoadingScreen();
    if (auto presenter = presenter_.lock()) presenter->dismissModalViewController(true);
    auto delegate = delegate_.lock();
    if (!delegate) return;
    if (user) {
        delegate->pickerFinishedWithSelectedUser(user);
    } else {
        delegate->pickerCancelled();
    }
}

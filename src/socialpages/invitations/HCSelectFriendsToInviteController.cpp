#include "socialpages/invitations/HCSelectFriendsToInviteController.h"

#include "core/halcyon/Halcyon.h"
#include "dashboard/HCRootController.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "social/friends/HCFriendsService.h"
#include "socialpages/friends/HCFullScreenImportFriendsMessage.h"
#include "uiframework/HCPageRequestDelegates.h"
#include "uiframework/table/HCCheckableCell.h"
#include "socialpages/invitations/HCInviteFriendsController.h"
#include "socialpages/invitations/HCSelectInviteTypeController.h"
#include "uiframework/HCControllerLoader.h"

std::shared_ptr<HCSelectFriendsToInviteController> HCSelectFriendsToInviteController::inviteController(
    const std::shared_ptr<HCSelectInviteTypeController>& start, const std::vector<platform::ObjectPtr>& selected)
{
    auto picker = HCControllerLoader::load<HCSelectFriendsToInviteController>("SelectFriendsToInvite");
    if (!picker) return nullptr;
    std::weak_ptr<HCSelectFriendsToInviteController> weakPicker = picker;
    HCSelectInviteTypeController::configurePicker(picker, "Invite Friends", [weakPicker] {
        if (auto page = weakPicker.lock()) page->done();
    });
    picker->inviteTypeController_ = start;
    picker->selectedUsers_ = selected;
    return picker;
}

void HCSelectFriendsToInviteController::cancel()
{
    HC_CHECK_MAIN_THREAD();
    if (auto root = HalcyonDashboard::getRootController()) root->dismissModalViewController(true);
}

std::string HCSelectFriendsToInviteController::getUserMessage(const platform::ui::TextField& field)
{
    return HCInviteFriendsController::getUserMessage(field);
}

std::shared_ptr<HCService> HCSelectFriendsToInviteController::getService()
{
    return HCFriendsService::sharedInstance();
}

void HCSelectFriendsToInviteController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCUser>("SelectableUser");
}

platform::ui::ViewControllerPtr HCSelectFriendsToInviteController::getNoDataFoundViewController()
{
    HC_CHECK_MAIN_THREAD();
    auto message = HCControllerLoader::load<HCFullScreenImportFriendsMessage>("HeaderedFullscreenImportFriendsMessage");
    if (!message) return nullptr;
    message->setOwner(platform::self(this));
    // Friends there are, but every one of them plays already.
    if (followingAnyone_)
        message->messageLabel()->setText("All of your friends have " + Halcyon::applicationDisplayName() +
                                         ". You can make more friends by importing them from Facebook or Twitter or "
                                         "find friends by their Halcyon name.");
    return message;
}

void HCSelectFriendsToInviteController::onSectionsCreated(const Sections& sections)
{
    if (!sections.empty()) sections.front()->setTitle(std::string("Friends To Invite"));
}

void HCSelectFriendsToInviteController::done()
{
    HC_CHECK_MAIN_THREAD();
    if (inviteTypeController_)
        inviteTypeController_->updateSelectedType(HCSelectInviteTypeController::kFriends, selectedUsers_);
    if (auto navigation = navigationController()) navigation->popViewController(true);
}

void HCSelectFriendsToInviteController::viewWillAppear(bool animated)
{
    HCTableSequenceControllerHelper::viewWillAppear(animated);
    showLoadingScreen();
}

void HCSelectFriendsToInviteController::viewDidAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCTableSequenceControllerHelper::viewDidAppear(animated);
    auto self = std::static_pointer_cast<HCSelectFriendsToInviteController>(platform::self(this));
    auto [answered, failed] = pageRequestDelegates<HCSelectFriendsToInviteController>(
        self, [](auto& page, const auto& answer) { page.localUserFollowingAnyone(platform::as<platform::Number>(answer)); },
        [](auto& page, const auto& failure) { page.localUserFollowingAnyoneFail(failure); });
    anyFriendsDownloadOutstanding_ = true;
    HCFriendsService::isLocalUserFollowingAnyone(answered, failed);
}

void HCSelectFriendsToInviteController::viewWillDisappear(bool animated)
{
    friendsDownloadOutstanding_ = false;
    anyFriendsDownloadOutstanding_ = false;
    HCTableSequenceControllerHelper::viewWillDisappear(animated);
}

void HCSelectFriendsToInviteController::localUserFollowingAnyone(std::shared_ptr<platform::Number> answer)
{
    anyFriendsDownloadOutstanding_ = false;
    hideLoadingScreen();
    followingAnyone_ = answer && answer->boolValue();
    _refreshData();
}

void HCSelectFriendsToInviteController::localUserFollowingAnyoneFail(std::shared_ptr<platform::Object>)
{
    anyFriendsDownloadOutstanding_ = false;
    hideLoadingScreen();
}

void HCSelectFriendsToInviteController::_refreshData()
{
    // A picker shown again gives the service time to list the friends just made.
    if (!stall_.holdBack(*this)) HCTableSequenceControllerHelper::_refreshData();
}

void HCSelectFriendsToInviteController::doIndexActionOnSuccess(const HCDelegate& onSuccess,
                                                               const HCDelegate& onFailure)
{
    doIndexActionWithPage(1, onSuccess, onFailure);
    stall_.arm();
}

void HCSelectFriendsToInviteController::doIndexActionWithPage(int page, const HCDelegate& onSuccess,
                                                              const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    friendsDownloadOutstanding_ = true;
    // A failed or dropped page must let the loading screen go as a received one does.
    auto [received, failed] = pageRequestDelegates<HCSelectFriendsToInviteController>(
        std::static_pointer_cast<HCSelectFriendsToInviteController>(platform::self(this)),
        [onSuccess](auto&, const auto& reply) { onSuccess.invokeNow(reply); },
        [onFailure](auto& picker, const auto& failure) {
            picker.friendsDownloadOutstanding_ = false;
            onFailure.invokeNow(failure);
        });
    HCFriendsService::getInvitableFriends(page, received, failed);
}

void HCSelectFriendsToInviteController::_onDataLoadedWrapper(const HCPaginatedSeriesPtr& series, bool isIncremental)
{
    friendsDownloadOutstanding_ = false;
    HCTableSequenceControllerHelper::_onDataLoadedWrapper(series, isIncremental);
}

void HCSelectFriendsToInviteController::hideLoadingScreen()
{
    if (friendsDownloadOutstanding_ || anyFriendsDownloadOutstanding_) return;
    HCTableSequenceControllerHelper::hideLoadingScreen();
}

void HCSelectFriendsToInviteController::onCell(const platform::ui::TableViewCellPtr& cell,
                                               const platform::ObjectPtr& resource)
{
    auto checkable = std::dynamic_pointer_cast<HCCheckableCell>(cell);
    auto user = platform::as<HCUser>(resource);
    if (checkable && user) checkable->setChecked(_userIsAtSelectedIndex(user) != kUserNotSelected);
}

void HCSelectFriendsToInviteController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath&)
{
    if (auto user = platform::as<HCUser>(resource)) toggleSelectionOfUser(user);
}

uint32_t HCSelectFriendsToInviteController::_userIsAtSelectedIndex(const HCUserPtr& user) const
{
    // Matched by id: a friend chosen on an earlier visit is another object now.
    for (size_t i = 0; i < selectedUsers_.size(); ++i) {
        auto chosen = platform::as<HCUser>(selectedUsers_[i]);
        if (chosen && chosen->userId() == user->userId()) return static_cast<uint32_t>(i);
    }
    return kUserNotSelected;
}

void HCSelectFriendsToInviteController::toggleSelectionOfUser(const HCUserPtr& user)
{
    HC_CHECK_MAIN_THREAD();
    auto indexPath = getFirstIndexPathForResource(user);
    if (!indexPath) return;
    auto resource = getResourceAtIndexPath(*indexPath);
    if (resource) {
        auto checkable = std::dynamic_pointer_cast<HCCheckableCell>(tableView()->cellForRowAtIndexPath(*indexPath));
        const uint32_t at = _userIsAtSelectedIndex(user);
        if (at == kUserNotSelected) {
            if (checkable) checkable->setChecked(true);
            selectedUsers_.push_back(resource);
        } else {
            if (checkable) checkable->setChecked(false);
            selectedUsers_.erase(selectedUsers_.begin() + at);
        }
    }
    tableView()->deselectRowAtIndexPath(*indexPath, true);
}

#include "socialpages/friends/HCFriendsController.h"

#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "social/friends/HCFriendsService.h"
#include "socialpages/friends/HCImportFriendsController.h"
#include "socialpages/friends/HCPendingFriends.h"
#include "socialpages/profile/HCProfileController.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCPageRequestDelegates.h"
#include "uiframework/table/HCSectionHeaderView.h"

HCFriendsController::HCFriendsController()
{
    auto& center = platform::NotificationCenter::defaultCenter();
    center.addObserver(this, HCNSNotificationPendingFriendCountChanged, [this](const platform::Notification&) {
        if (auto header = header_.lock())
            header->setBadgeValue(static_cast<int>(Halcyon::pendingFriendsCount()),
                                  HCFriendsHeaderController::kPendingTab);
    });
    center.addObserver(this, HCNSNotificationAddFriend, [this](const platform::Notification&) {
        ++friendCount_;
        refreshOnNextDidAppear_ = true;
    });
    center.addObserver(this, HCNSNotificationRemoveFriend, [this](const platform::Notification&) {
        --friendCount_;
        refreshOnNextDidAppear_ = true;
    });
}

HCFriendsController::~HCFriendsController()
{
    platform::NotificationCenter::defaultCenter().removeObserver(this);
}

bool HCFriendsController::isForLocalUser() const
{
    auto user = getPageContextUser();
    return !user || user->isLocalUser();
}

std::shared_ptr<HCService> HCFriendsController::getService()
{
    return HCFriendsService::sharedInstance();
}

void HCFriendsController::doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto user = getPageContextUser();
    const auto userId = user ? user->resourceId() : std::nullopt;
    if (curTabType_ == kFriendsTab) {
        HCFriendsService::getAllUsersFollowedByUserAlphabetical(userId, onSuccess, onFailure);
    } else {
        HCFriendsService::getUsersFollowingUser(userId, true, page, onSuccess, onFailure);
    }
}

void HCFriendsController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCUser>("User");
}

std::optional<std::string> HCFriendsController::getTableHeaderControllerName()
{
    if (!isForLocalUser()) return std::nullopt;
    return std::string("FriendsHeader");
}

void HCFriendsController::onTableHeaderCreated(const platform::ObjectPtr& header)
{
    auto tabs = std::dynamic_pointer_cast<HCFriendsHeaderController>(header);
    if (!tabs) return;
    header_ = tabs;
    // The tabs are added before the page is their target: the first tab's
    // selection on adding would otherwise reload the page again.
    tabs->addTab(HCFriendsHeaderController::kFriendsTab, &HCFriendsController::onFollowingSelected);
    tabs->addTab(HCFriendsHeaderController::kPendingTab, &HCFriendsController::onFollowersSelected);
    tabs->setCallbackTarget(platform::self(this));
    tabs->setIsDisplayingForLocalUser(isForLocalUser());
    updateHeader();
}

void HCFriendsController::updateHeader()
{
    auto tabs = header_.lock();
    if (!tabs) return;
    tabs->setBadgeValue(static_cast<int>(Halcyon::pendingFriendsCount()), HCFriendsHeaderController::kPendingTab);
    tabs->showTab(curTabType_ != kFriendsTab ? HCFriendsHeaderController::kPendingTab
                                             : HCFriendsHeaderController::kFriendsTab);
}

std::string HCFriendsController::getNoDataFoundMessage()
{
    const bool pending = curTabType_ == kPendingTab;
    if (isForLocalUser()) {
        return pending ? "Here's where you'll find any pending friend requests.  You can choose to either add them to "
                         "your Friends list or delete the request."
                       : "You have not added any Halcyon friends yet. Check the Pending tab to see who wants to "
                         "friend you!";
    }
    return pending ? "This user has no pending friends." : "This user has not added any Halcyon friends yet.";
}

platform::ui::ViewPtr HCFriendsController::createPlainTableSectionHeader(int section)
{
    return HCSectionHeaderView::loadForSection("PlainTableSectionHeader", *this, section);
}

platform::ui::ViewControllerPtr HCFriendsController::getNoDataFoundViewController()
{
    HC_CHECK_MAIN_THREAD();
    if (!isForLocalUser() || friendCount_ != 0 || curTabType_ != kFriendsTab) return nullptr;
    setEditingOff();
    alwaysRefresh_ = true;
    auto import = HCControllerLoader::load<HCImportFriendsController>("ImportFriends");
    if (import) import->setController(platform::self(this));
    return import;
}

void HCFriendsController::onResourcesDownloaded(const HCPaginatedSeriesPtr& series)
{
    HC_CHECK_MAIN_THREAD();
    HCTableSequenceControllerHelper::onResourcesDownloaded(series);
    auto item = navigationItem();
    std::weak_ptr<HCFriendsController> weakSelf = platform::self(this);
    if (curTabType_ == kPendingTab) {
        // Another player's requests are not the local player's count.
        if (series && isForLocalUser())
            Halcyon::setPendingFriendsCount(series->header() ? series->header()->totalObjects() : 0);
        if (isForLocalUser() && Halcyon::pendingFriendsCount() != 0) {
            _updateEditButtonState();
        } else {
            item->setRightBarButtonItem(nullptr);
        }
    } else if (curTabType_ == kFriendsTab) {
        friendCount_ = series ? static_cast<int>(series->count()) : 0;
        if (isForLocalUser()) {
            item->setRightBarButtonItem(
                platform::ui::BarButtonItem::withSystemItem(platform::ui::SystemItem::Add, [weakSelf](auto&) {
                    if (auto page = weakSelf.lock()) page->findFriendsPressed();
                }));
        } else {
            item->setRightBarButtonItem(nullptr);
        }
    }
    updateHeader();
}

void HCFriendsController::onFollowingSelected()
{
    HC_CHECK_MAIN_THREAD();
    switchToTab(kFriendsTab);
    setEditingOff();
    reloadDataFromServer();
}

void HCFriendsController::onFollowersSelected()
{
    HC_CHECK_MAIN_THREAD();
    switchToTab(kPendingTab);
    reloadDataFromServer();
}

void HCFriendsController::switchToTab(Tab tab)
{
    const bool changed = curTabType_ != tab;
    curTabType_ = tab;
    // The other tab's players must not stand under this one while it loads,
    // nor after its load fails: the player would take friends for requests.
    if (changed) clearRows();
}

void HCFriendsController::setEditingOff()
{
    if (tableView()->isEditing()) tableView()->setEditing(false, false);
}

void HCFriendsController::_toggleEditing()
{
    HC_CHECK_MAIN_THREAD();
    tableView()->setEditing(!tableView()->isEditing(), true);
    _updateEditButtonState();
}

void HCFriendsController::_updateEditButtonState()
{
    std::weak_ptr<HCFriendsController> weakSelf = platform::self(this);
    const auto system = tableView()->isEditing() ? platform::ui::SystemItem::Done : platform::ui::SystemItem::Edit;
    navigationItem()->setRightBarButtonItem(platform::ui::BarButtonItem::withSystemItem(system, [weakSelf](auto&) {
        if (auto page = weakSelf.lock()) page->_toggleEditing();
    }));
}

void HCFriendsController::onResourceWasDeleted(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    auto user = platform::as<HCUser>(resource);
    if (!user) return;
    showLoadingScreen();
    const bool friendsTab = curTabType_ == kFriendsTab;
    // The row is gone from the table already: a removal dropped unanswered
    // must bring it back like a refused one.
    auto [pageStep, failure] = pageRequestDelegates<HCFriendsController>(
        std::static_pointer_cast<HCFriendsController>(platform::self(this)),
        [friendsTab](auto& page, const auto& reply) {
            if (friendsTab) {
                page._removedFriend(reply);
            } else {
                page._removedPendingFriend(reply);
            }
        },
        [](auto& page, const auto& failed) { page._failedRemoving(failed); });
    // Once the service answers it holds the removal, whether or not the
    // player is still on this page to hear it: the count and the friend
    // notice follow it then. The page's own step goes first, as it reads
    // the count as it stood.
    auto success = HCDelegate::withFunction([pageStep, friendsTab, user](const platform::ObjectPtr& reply) {
        pageStep.invokeNow(reply);
        if (friendsTab) {
            HCPendingFriends::stoppedFollowing(user);
        } else {
            HCPendingFriends::lowerByOne();
        }
    });
    auto handle = friendsTab ? HCFriendsService::makeLocalUserStopFollowing(user->resourceId(), success, failure)
                             : HCFriendsService::removeLocalUsersFollower(user->resourceId(), success, failure);
    // Refused at once (no such player, the service not running): show the list as it is.
    if (!handle) reloadDataFromServer();
}

void HCFriendsController::_removedFriend(std::shared_ptr<platform::Object>)
{
    reloadDataFromServer();
}

void HCFriendsController::_removedPendingFriend(std::shared_ptr<platform::Object>)
{
    HC_CHECK_MAIN_THREAD();
    // The last request gone with no friends: nothing would be left to see on "Pending".
    if (friendCount_ == 0 && Halcyon::pendingFriendsCount() == 1) {
        curTabType_ = kFriendsTab;
        setEditingOff();
    }
    reloadDataFromServer();
}

void HCFriendsController::_failedRemoving(std::shared_ptr<platform::Object>)
{
    reloadDataFromServer();
}

void HCFriendsController::findFriendsPressed()
{
    HC_CHECK_MAIN_THREAD();
    refreshOnNextDidAppear_ = true;
    auto navigation = navigationController();
    auto page = HCControllerLoader::load("ImportFriends");
    if (navigation && page) navigation->pushViewController(page, true);
    curTabType_ = kFriendsTab;
    setEditingOff();
}

void HCFriendsController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath&)
{
    auto user = platform::as<HCUser>(resource);
    if (!user) return;
    refreshOnNextDidAppear_ = true;
    HCProfileController::showProfileForUser(user);
}

void HCFriendsController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    setTitle(isForLocalUser() ? "Halcyon Friends" : "Friends");
    HCTableSequenceControllerHelper::viewWillAppear(animated);
    // An appearance begun again before the last one ended brings no
    // disappearance in between: the observer must not be there twice.
    auto& center = platform::NotificationCenter::defaultCenter();
    center.removeObserver(this, HCNSNotificationFriendPresenceChanged);
    center.addObserver(this, HCNSNotificationFriendPresenceChanged,
                       [this](const platform::Notification&) { reloadDataFromServer(); });
}

void HCFriendsController::viewDidAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    if (refreshOnNextDidAppear_) alwaysRefresh_ = true;
    HCTableSequenceControllerHelper::viewDidAppear(animated);
    if (refreshOnNextDidAppear_) {
        alwaysRefresh_ = false;
        refreshOnNextDidAppear_ = false;
    }
}

void HCFriendsController::viewDidDisappear(bool animated)
{
    HCTableSequenceControllerHelper::viewDidDisappear(animated);
    platform::NotificationCenter::defaultCenter().removeObserver(this, HCNSNotificationFriendPresenceChanged);
}

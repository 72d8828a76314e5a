#include "socialpages/friends/HCWhosPlayingController.h"

#include "core/halcyon/HalcyonNotificationNames.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/friends/HCFriendsService.h"
#include "social/friends/HCGamePlayer.h"
#include "social/users/HCUsersCredential.h"
#include "socialpages/friends/HCFullScreenImportFriendsMessage.h"
#include "socialpages/profile/HCProfileController.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/table/HCSectionHeaderView.h"

HCWhosPlayingController::~HCWhosPlayingController()
{
    platform::NotificationCenter::defaultCenter().removeObserver(this);
}

std::shared_ptr<HCService> HCWhosPlayingController::getService()
{
    return HCFriendsService::sharedInstance();
}

void HCWhosPlayingController::doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    HCFriendsService::getUsersWithAppFollowedByUser(applicationId_, userId_, page, onSuccess, onFailure);
}

void HCWhosPlayingController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCGamePlayer>("WhosPlaying");
}

platform::ui::ViewPtr HCWhosPlayingController::createPlainTableSectionHeader(int section)
{
    return HCSectionHeaderView::loadForSection("WhosPlayingSectionHeaderView", *this, section);
}

platform::ui::ViewControllerPtr HCWhosPlayingController::getNoDataFoundViewController()
{
    HC_CHECK_MAIN_THREAD();
    auto credentials = getMetaDataOfType<HCUsersCredential>();
    if (credentials.empty()) return nullptr;
    auto message = HCControllerLoader::load<HCFullScreenImportFriendsMessage>("FullscreenImportFriendsMessage");
    if (!message) return nullptr;
    message->setMissingCredentials(credentials, getNoDataFoundMessage());
    message->setOwner(platform::self(this));
    return message;
}

void HCWhosPlayingController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath&)
{
    if (auto player = platform::as<HCGamePlayer>(resource)) HCProfileController::showProfileForUser(player->user());
}

void HCWhosPlayingController::viewWillAppear(bool animated)
{
    HCTableSequenceControllerHelper::viewWillAppear(animated);
    platform::NotificationCenter::defaultCenter().addObserver(
        this, HCNSNotificationFriendPresenceChanged, [this](const platform::Notification&) { reloadDataFromServer(); });
}

void HCWhosPlayingController::viewWillDisappear(bool animated)
{
    HCTableSequenceControllerHelper::viewWillDisappear(animated);
    platform::NotificationCenter::defaultCenter().removeObserver(this, HCNSNotificationFriendPresenceChanged);
}

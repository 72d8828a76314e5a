#include "socialpages/friends/HCProfilePagesRegistration.h"

#include "gamepages/HCProfileOpener.h"
#include "platform/runtime/ClassRegistry.h"
#include "socialpages/friends/HCFindUserController.h"
#include "socialpages/friends/HCFriendsController.h"
#include "socialpages/friends/HCFriendsHeaderController.h"
#include "socialpages/friends/HCFullScreenImportFriendsMessage.h"
#include "socialpages/friends/HCImportFriendsController.h"
#include "socialpages/friends/HCUserCells.h"
#include "socialpages/friends/HCWhosPlayingController.h"
#include "socialpages/profile/HCHelpController.h"
#include "socialpages/profile/HCMyHalcyonController.h"
#include "socialpages/profile/HCProfileController.h"
#include "uiframework/table/HCSectionHeaderView.h"

void registerProfilePageClasses()
{
    platform::registerClass<HCProfileController>("HCProfileController");
    platform::registerClass<HCMyHalcyonController>("HCMyHalcyonController");
    platform::registerClass<HCHelpController>("HCHelpController");
    platform::registerClass<HCFriendsController>("HCFriendsController");
    platform::registerClass<HCFriendsHeaderController>("HCFriendsHeaderController");
    platform::registerClass<HCImportFriendsController>("HCImportFriendsController");
    platform::registerClass<HCFindUserController>("HCFindUserController");
    platform::registerClass<HCFindUserHeaderController>("HCFindUserHeaderController");
    platform::registerClass<HCWhosPlayingController>("HCWhosPlayingController");
    // One page, two layouts: loaded as "FullscreenImportFriendsMessage" and
    // "HeaderedFullscreenImportFriendsMessage".
    platform::registerClass<HCFullScreenImportFriendsMessage>("HCFullscreenImportFriendsMessageController");
    platform::registerClass<HCFullScreenImportFriendsMessage>("HCHeaderedFullscreenImportFriendsMessageController");
    platform::registerClass<HCUserCell>("HCUserCell");
    platform::registerClass<HCSelectableUserCell>("HCSelectableUserCell");
    platform::registerClass<HCWhosPlayingCell>("HCWhosPlayingCell");
    HCSectionHeaderView::registerDefaultNib("WhosPlayingSectionHeaderViewHc");
    HCSectionHeaderView::registerDefaultNib("PlainTableSectionHeaderHc");
    HCProfileOpener::setOpener(&HCProfileController::showProfileForUser);
}

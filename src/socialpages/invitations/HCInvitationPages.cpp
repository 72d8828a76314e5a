#include "socialpages/invitations/HCInvitationPages.h"

#include "platform/runtime/ClassRegistry.h"
#include "social/invitations/HCInviteService.h"
#include "socialpages/invitations/HCContactCells.h"
#include "socialpages/invitations/HCInvitationsController.h"
#include "socialpages/invitations/HCInviteNotificationController.h"
#include "socialpages/invitations/HCInviteCompleteController.h"
#include "socialpages/invitations/HCInviteFriendsController.h"
#include "socialpages/invitations/HCInviteHeaderViews.h"
#include "socialpages/invitations/HCSelectContactsToInviteController.h"
#include "socialpages/invitations/HCSelectFriendsToInviteController.h"
#include "socialpages/invitations/HCSelectInviteTypeController.h"
#include "socialpages/invitations/HCViewInviteController.h"

void HCInvitationPages::registerClasses()
{
    platform::registerClass<HCSelectInviteTypeController>("HCSelectInviteTypeController");
    platform::registerClass<HCSelectInviteTypeHeaderController>("HCSelectInviteTypeHeaderController");
    platform::registerClass<HCSelectInviteTypeCell>("HCSelectInviteTypeCell");
    platform::registerClass<HCSelectFriendsToInviteController>("HCSelectFriendsToInviteController");
    platform::registerClass<HCInviteFriendsController>("HCInviteFriendsController");
    platform::registerClass<HCInviteFriendsHeaderController>("HCInviteFriendsHeaderController");
    platform::registerClass<HCInviteCompleteController>("HCInviteCompleteController");
    platform::registerClass<HCSelectContactsToInviteController>("HCSelectContactsToInviteController");
    platform::registerClass<HCSelectContactsToInviteHeaderController>("HCSelectContactsToInviteHeaderController");
    platform::registerClass<HCContactCell>("HCContactCell");
    platform::registerClass<HCSelectableContactCell>("HCSelectableContactCell");
    platform::registerClass<HCInvitationsController>("HCInvitationsController");
    platform::registerClass<HCInviteCell>("HCInviteCell");
    platform::registerClass<HCViewInviteController>("HCViewInviteController");
    platform::registerClass<HCInviteNotificationController>("HCInviteNotificationController");
    HCInviteService::setInviteFlow([](const std::string& inviteIdentifier) {
        if (auto page = HCSelectInviteTypeController::inviteTypeControllerWithInviteIdentifier(inviteIdentifier))
            page->openAsModal();
    });
}

#include "socialpages/HCSocialPages.h"

#include "accounts/HCAccountForms.h"
#include "accounts/HCUseNewOrOldAccountController.h"
#include "gamepages/HCDescriptionOpener.h"
#include "gamepages/fanclub/HCFanClubController.h"
#include "platform/runtime/ClassRegistry.h"
#include "social/forums/HCForumTopic.h"
#include "social/settings/HCUserSettingPushController.h"
#include "socialpages/announcements/HCAnnouncementBrowserController.h"
#include "socialpages/announcements/HCAnnouncementDetailController.h"
#include "socialpages/announcements/HCAnnouncementDetailHeaderController.h"
#include "socialpages/announcements/HCApplicationDescriptionController.h"
#include "socialpages/chat/HCChatRoomCells.h"
#include "socialpages/chat/HCChatRoomController.h"
#include "socialpages/chat/HCSelectChatRoomDefinitionController.h"
#include "socialpages/chat/HCSelectChatRoomInstanceController.h"
#include "socialpages/credentials/HCRemoveCredentialController.h"
#include "socialpages/credentials/HCRemoveDeviceFromAccountController.h"
#include "socialpages/forums/HCForumCells.h"
#include "socialpages/forums/HCForumThreadListController.h"
#include "socialpages/forums/HCForumThreadViewController.h"
#include "socialpages/forums/HCForumTopicListController.h"
#include "socialpages/forums/HCPostNewMessage.h"
#include "socialpages/settings/HCUserSettingCells.h"
#include "socialpages/settings/HCUserSettingController.h"
#include "socialpages/friends/HCProfilePagesRegistration.h"
#include "socialpages/conversations/HCConversationCells.h"
#include "socialpages/conversations/HCConversationController.h"
#include "socialpages/inbox/HCFriendPickerController.h"
#include "socialpages/inbox/HCInboxCells.h"
#include "socialpages/inbox/HCInboxController.h"
#include "socialpages/inbox/HCInboxTopLevelController.h"
#include "socialpages/invitations/HCInvitationPages.h"
#include "socialpages/picture/HCProfilePicturePages.h"
#include "socialpages/composer/HCComposerRegistration.h"

void HCSocialPages::registerClasses()
{
    platform::registerClass<HCForumTopicListController>("HCForumTopicListController");
    platform::registerClass<HCForumThreadListController>("HCForumThreadListController");
    platform::registerClass<HCForumThreadViewController>("HCForumThreadViewController");
    // Loaded as "PostNewMessage".
    platform::registerClass<HCPostNewMessage>("HCPostNewMessageController");
    platform::registerClass<HCForumTopicCell>("HCForumTopicCell");
    platform::registerClass<HCForumThreadCell>("HCForumThreadCell");
    platform::registerClass<HCForumPostCell>("HCForumPostCell");
    platform::registerClass<HCForumSubscribeButtonCell>("HCForumSubscribeButtonCell");
    HCFanClubController::setSuggestionBrowserMaker([](const std::optional<std::string>& forumId) {
        return HCForumThreadListController::threadBrowser(HCForumTopic::suggestionsTopic(forumId));
    });
    platform::registerClass<HCUserSettingController>("HCUserSettingController");
    platform::registerClass<HCUserSettingCell>("HCUserSettingCell");
    platform::registerClass<HCUserSettingActionCell>("HCUserSettingActionCell");
    // The account layer's forms, opened by name from the settings and account pages.
    platform::registerClass<HCFacebookAccountLoginController>("HCFacebookAccountLoginController");
    platform::registerClass<HCTwitterAccountLoginController>("HCTwitterAccountLoginController");
    platform::registerClass<HCHttpCredentialsCreateController>("HCHttpCredentialsCreateController");
    platform::registerClass<HCHalcyonAccountLoginController>("HCHalcyonAccountLoginController");
    platform::registerClass<HCUseNewOrOldAccountController>("HCUseNewOrOldAccountController");
    platform::registerClass<HCRemoveCredentialController>("HCRemoveCredentialController");
    platform::registerClass<HCRemoveDeviceFromAccountController>("HCRemoveDeviceFromAccountController");
    // The settings rows that open the remove-credential form name its set-up.
    HCUserSettingPushController::registerAction("setupForTwitter", [](const platform::ui::ViewControllerPtr& page) {
        if (auto form = std::dynamic_pointer_cast<HCRemoveCredentialController>(page)) form->setupForTwitter();
    });
    HCUserSettingPushController::registerAction("setupForFacebook", [](const platform::ui::ViewControllerPtr& page) {
        if (auto form = std::dynamic_pointer_cast<HCRemoveCredentialController>(page)) form->setupForFacebook();
    });
    registerProfilePageClasses();
    platform::registerClass<HCSelectChatRoomDefinitionController>("HCSelectChatRoomDefinitionController");
    platform::registerClass<HCSelectChatRoomInstanceController>("HCSelectChatRoomInstanceController");
    platform::registerClass<HCChatRoomController>("HCChatRoomController");
    platform::registerClass<HCChatRoomMessageBoxController>("HCChatRoomMessageBoxController");
    platform::registerClass<HCChatRoomDefinitionCell>("HCChatRoomDefinitionCell");
    platform::registerClass<HCChatRoomInstanceCell>("HCChatRoomInstanceCell");
    platform::registerClass<HCChatRoomChatMessageCell>("HCChatRoomChatMessageCell");
    platform::registerClass<HCAnnouncementBrowserController>("HCAnnouncementBrowserController");
    platform::registerClass<HCAnnouncementDetailController>("HCAnnouncementDetailController");
    platform::registerClass<HCAnnouncementDetailHeaderController>("HCAnnouncementDetailHeaderController");
    platform::registerClass<HCApplicationDescriptionController>("HCApplicationDescriptionController");
    HCDescriptionOpener::setMaker(&HCApplicationDescriptionController::applicationDescriptionForId);
    platform::registerClass<HCInboxTopLevelController>("HCInboxTopLevelController");
    platform::registerClass<HCInboxIMConversationsController>("HCInboxIMConversationsController");
    platform::registerClass<HCInboxSubscribedForumThreadsController>("HCInboxSubscribedForumThreadsController");
    platform::registerClass<HCInboxCell>("HCInboxCell");
    // Loaded as "InboxAction".
    platform::registerClass<HCInboxIMActionCell>("HCInboxActionCell");
    platform::registerClass<HCFriendPickerController>("HCFriendPickerController");
    platform::registerClass<HCConversationController>("HCConversationController");
    platform::registerClass<HCConversationMessageBoxController>("HCConversationMessageBoxController");
    platform::registerClass<HCConversationCell>("HCConversationCell");
    platform::registerClass<HCOnlineStatusCell>("HCOnlineStatusCell");
    HCInvitationPages::registerClasses();
    registerProfilePicturePageClasses();
    registerComposerClasses();
}

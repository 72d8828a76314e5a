#include "socialpages/HCSocialPages.h"

#include "accounts/HCAccountForms.h"
#include "gamepages/fanclub/HCFanClubController.h"
#include "platform/runtime/ClassRegistry.h"
#include "social/forums/HCForumTopic.h"
#include "social/settings/HCUserSettingPushController.h"
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
#include "socialpages/picture/HCProfilePicturePages.h"

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
    registerProfilePicturePageClasses();
}

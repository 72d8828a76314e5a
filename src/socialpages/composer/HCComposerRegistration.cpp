#include "socialpages/composer/HCComposerRegistration.h"

#include "accounts/HCExtendedCredentialController.h"
#include "core/halcyon/Halcyon.h"
#include "platform/runtime/ClassRegistry.h"
#include "social/socialposts/HCSocialNotificationApi.h"
#include "socialpages/composer/HCSendSocialNotificationCells.h"
#include "socialpages/composer/HCSendSocialNotificationController.h"

void registerComposerClasses()
{
    platform::registerClass<HCSendSocialNotificationController>("HCSendSocialNotificationController");
    platform::registerClass<HCSendSocialNotificationSubmitTextCell>("HCSendSocialNotificationSubmitTextCell");
    platform::registerClass<HCSendSocialNotificationCell>("HCSendSocialNotificationCell");
    platform::registerClass<HCNotConnectedToSocialNetworkCell>("HCNotConnectedToSocialNetworkCell");
    platform::registerClass<HCFacebookExtendedCredentialController>("HCFacebookExtendedCredentialController");
    platform::registerClass<HCTwitterExtendedCredentialController>("HCTwitterExtendedCredentialController");
    Halcyon::setSocialPostPageMaker(&HCSendSocialNotificationController::forGameLaunch);
    HCSocialNotificationApi::setComposer(&Halcyon::launchDashboardWithSocialNotificationWithPrepopulatedText);
}

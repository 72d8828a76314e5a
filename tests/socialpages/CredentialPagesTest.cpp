// The pages that take a login off the account and the account off the
// device, as the player works them against the local server.
#include <algorithm>

#include "accounts/FacebookSession.h"
#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/Faults.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "socialpages/credentials/HCRemoveCredentialController.h"
#include "socialpages/credentials/HCRemoveDeviceFromAccountController.h"
#include "uiframework/HCViewController.h"

namespace {

const std::string kRemovePath = "users_credentials/remove.xml";

class CredentialPagesTest : public pagetest::PageHarness {
protected:
    // Ann has linked these logins on the server and on the device.
    void linkLogins(bool email, bool twitter, bool facebook)
    {
        auto ann = server->accounts().user("1001");
        ASSERT_TRUE(ann);
        ann->credentials.clear();
        if (email) ann->credentials.push_back("http_basic");
        if (twitter) ann->credentials.push_back("twitter");
        if (facebook) ann->credentials.push_back("fbconnect");
        server->accounts().addUser(*ann);
        Halcyon::setLoggedInUserHasHttpBasicCredential(email);
        Halcyon::setLoggedInUserHasTwitterCredential(twitter);
        Halcyon::setLoggedInUserHasFbconnectCredential(facebook);
    }
    bool serverLinks(const std::string& login)
    {
        const auto logins = server->accounts().user("1001")->credentials;
        return std::count(logins.begin(), logins.end(), login) > 0;
    }
    void usePicture(bool facebook, bool twitter)
    {
        auto user = Halcyon::localUser();
        user->changeProfilePictureUrl(std::string("images/mine.png"), facebook, twitter, false);
        Halcyon::setLocalUser(user);
    }
    void openRemoveCredential(void (HCRemoveCredentialController::*setUp)())
    {
        openPage("RemoveCredential", [setUp](const platform::ui::ViewControllerPtr& page) {
            if (setUp) (*std::dynamic_pointer_cast<HCRemoveCredentialController>(page).*setUp)();
        });
        ASSERT_TRUE(topPageAs<HCRemoveCredentialController>());
    }
};

TEST_F(CredentialPagesTest, WithAnEmailLoginTwitterGoesAtOnceAndTakesItsPictureAlong)
{
    startOnline();
    linkLogins(true, true, true);
    FacebookSession::session()->didConnect();
    usePicture(false, true);
    openRemoveCredential(&HCRemoveCredentialController::setupForTwitter);
    EXPECT_EQ(topPageAs<HCRemoveCredentialController>()->warningText()->text(),
              "You are about to disconnect twitter from your account.");

    ASSERT_TRUE(tapButton("Remove Twitter"));
    EXPECT_TRUE(platform::ui::ActionSheet::visibleSheets().empty());
    waitForIdle();
    settle();
    EXPECT_EQ(lastParam(kRemovePath, "credential_type"), "TwitterCredential");
    EXPECT_FALSE(serverLinks("twitter"));
    EXPECT_FALSE(Halcyon::loggedInUserHasTwitterCredential());
    EXPECT_FALSE(Halcyon::localUser()->profilePictureSource());
    EXPECT_TRUE(FacebookSession::session()->isConnected()) << "removing Twitter leaves Facebook alone";
    EXPECT_FALSE(topPageAs<HCRemoveCredentialController>()) << "the form leaves once done";
}

TEST_F(CredentialPagesTest, WithoutAnEmailLoginTheWarningDecides)
{
    startOnline();
    linkLogins(false, true, true);
    FacebookSession::session()->didConnect();
    usePicture(false, true);
    openRemoveCredential(&HCRemoveCredentialController::setupForFacebook);
    ASSERT_TRUE(tapButton("Remove Facebook"));
    ASSERT_EQ(platform::ui::ActionSheet::visibleSheets().size(), 1u);
    ASSERT_TRUE(driver->answerSheet("Go Back"));
    settle();
    EXPECT_FALSE(topPageAs<HCRemoveCredentialController>());
    EXPECT_EQ(requestsTo(kRemovePath), 0u);

    openRemoveCredential(&HCRemoveCredentialController::setupForFacebook);
    ASSERT_TRUE(tapButton("Remove Facebook"));
    ASSERT_TRUE(driver->answerSheet("Continue"));
    settle();
    waitForIdle();
    settle();
    EXPECT_EQ(lastParam(kRemovePath, "credential_type"), "FbconnectCredential");
    EXPECT_FALSE(FacebookSession::session()->isConnected());
    EXPECT_FALSE(Halcyon::loggedInUserHasFbconnectCredential());
    EXPECT_EQ(Halcyon::localUser()->profilePictureSource(), "TwitterCredential") << "another login's picture stays";
}

TEST_F(CredentialPagesTest, AFormWithoutItsSetUpOrARefusedRemovalChangesNothing)
{
    startOnline();
    linkLogins(true, true, false);
    openRemoveCredential(nullptr);
    ASSERT_TRUE(tapButton("Remove"));
    waitForIdle();
    EXPECT_EQ(requestsTo(kRemovePath), 0u) << "no login named, nothing sent";

    HalcyonDashboard::getActiveNavigationController()->popViewController(false);
    openRemoveCredential(&HCRemoveCredentialController::setupForTwitter);
    server->faults().injectFor("GET", kRemovePath, localserver::Fault::reply(500, "down"));
    ASSERT_TRUE(tapButton("Remove Twitter"));
    waitForIdle();
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_TRUE(Halcyon::loggedInUserHasTwitterCredential());
    EXPECT_TRUE(topPageAs<HCRemoveCredentialController>());
    EXPECT_TRUE(driver->answerAlert("Ok"));
}

TEST_F(CredentialPagesTest, RemovingTheDeviceWarnsWithoutAnEmailLoginThenLogsOut)
{
    startOnline();
    linkLogins(false, false, false);
    openPage("RemoveDeviceFromAccount");
    ASSERT_EQ(platform::ui::ActionSheet::visibleSheets().size(), 1u);
    ASSERT_TRUE(driver->answerSheet("Continue"));
    settle();
    ASSERT_TRUE(topPageAs<HCRemoveDeviceFromAccountController>()) << "the player reads on";
    // Back on screen after another page, it warns again.
    HalcyonDashboard::getActiveNavigationController()->pushViewController(std::make_shared<HCViewController>(), false);
    settle();
    ASSERT_TRUE(driver->tapBack());
    settle();
    ASSERT_EQ(platform::ui::ActionSheet::visibleSheets().size(), 1u);
    ASSERT_TRUE(driver->answerSheet("Go Back"));
    settle();
    EXPECT_FALSE(topPageAs<HCRemoveDeviceFromAccountController>());

    linkLogins(true, false, false);
    openPage("RemoveDeviceFromAccount");
    EXPECT_TRUE(platform::ui::ActionSheet::visibleSheets().empty());
    ASSERT_TRUE(tapButton("Remove Account"));
    waitForIdle();
    settle();
    EXPECT_EQ(lastParam("users/remove_from_device.xml", "user_id"), "1001");
    EXPECT_FALSE(Halcyon::isShowingFullScreen());
}

}  // namespace

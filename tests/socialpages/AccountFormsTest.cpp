// The account set-up forms as the player's pages open them: each links its
// login to the logged-in account on the local server, refuses empty fields
// before sending, and keeps the device's flags when the server refuses.
#include <algorithm>

#include "accounts/FacebookSession.h"
#include "accounts/HCAccountForms.h"
#include "accounts/HCUsersCredentialCell.h"
#include "core/halcyon/Halcyon.h"
#include "gamepages/support/PageHarness.h"
#include "platform/ui/AlertView.h"
#include "uiframework/HCControllerLoader.h"

namespace {

const std::string kLinkPath = "users_credentials/link.xml";

class AccountFormsTest : public pagetest::PageHarness {
protected:
    template <class Form>
    std::shared_ptr<Form> openForm(const std::string& name, bool adding = true)
    {
        openPage(name, [adding](const platform::ui::ViewControllerPtr& page) {
            std::dynamic_pointer_cast<HCAccountSetupBaseController>(page)->setAddingAdditionalCredential(adding);
        });
        return topPageAs<Form>();
    }
    bool serverLinks(const std::string& login)
    {
        const auto logins = server->accounts().user("1001")->credentials;
        return std::count(logins.begin(), logins.end(), login) > 0;
    }
};

TEST_F(AccountFormsTest, TwitterIsLinkedOnlyWithBothFieldsAndTheFormLeaves)
{
    startOnline();
    Halcyon::setLoggedInUserHasTwitterCredential(false);
    auto form = openForm<HCTwitterAccountLoginController>("TwitterAccountLogin");
    ASSERT_TRUE(form);
    driver->typeText(form->field("username"), "ann_plays");
    ASSERT_TRUE(tapButton("Connect Twitter"));
    settle();
    EXPECT_EQ(requestsTo(kLinkPath), 0u);
    ASSERT_TRUE(driver->answerAlert("Ok"));

    driver->typeText(form->field("password"), "secret");
    ASSERT_TRUE(tapButton("Connect Twitter"));
    waitForIdle();
    settle();
    EXPECT_EQ(lastParam(kLinkPath, "users_credential[username]"), "ann_plays");
    EXPECT_TRUE(serverLinks("twitter"));
    EXPECT_TRUE(Halcyon::loggedInUserHasTwitterCredential());
    EXPECT_FALSE(topPageAs<HCTwitterAccountLoginController>());
}

TEST_F(AccountFormsTest, ARefusedAddressChangesNothingAndFacebookOpensItsSession)
{
    startOnline();
    Halcyon::setLoggedInUserHasHttpBasicCredential(false);
    auto secure = openForm<HCHttpCredentialsCreateController>("HttpCredentialsCreate");
    ASSERT_TRUE(secure);
    driver->typeText(secure->field("email"), "not an address");
    driver->typeText(secure->field("password"), "longenough");
    ASSERT_TRUE(tapButton("Secure Account"));
    waitForIdle();
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_FALSE(Halcyon::loggedInUserHasHttpBasicCredential());
    EXPECT_TRUE(topPageAs<HCHttpCredentialsCreateController>());
    ASSERT_TRUE(driver->answerAlert("Ok"));

    FacebookSession::session()->logout();
    auto facebook = openForm<HCFacebookAccountLoginController>("FacebookAccountLogin");
    ASSERT_TRUE(tapButton("Connect Facebook"));
    waitForIdle();
    EXPECT_TRUE(serverLinks("fbconnect"));
    EXPECT_TRUE(FacebookSession::session()->isConnected());
}

TEST_F(AccountFormsTest, AFormNotAddingALoginSendsNothing)
{
    startOnline();
    openForm<HCFacebookAccountLoginController>("FacebookAccountLogin", false);
    ASSERT_TRUE(tapButton("Connect Facebook"));
    waitForIdle();
    EXPECT_EQ(requestsTo(kLinkPath), 0u);
}

TEST_F(AccountFormsTest, EveryLoginTypeNamesAFormTheLoaderCanMake)
{
    startOnline();
    for (const char* type : {"twitter", "fbconnect", "http_basic"}) {
        const auto name = HCUsersCredentialCell::getCredentialControllerName(std::string(type));
        ASSERT_TRUE(name) << type;
        EXPECT_TRUE(std::dynamic_pointer_cast<HCAccountSetupBaseController>(HCControllerLoader::load(*name))) << *name;
    }
    EXPECT_FALSE(HCUsersCredentialCell::getCredentialControllerName(std::string("Twitter")));
    EXPECT_FALSE(HCUsersCredentialCell::getCredentialImage(std::string("http_basic")));
}

}  // namespace

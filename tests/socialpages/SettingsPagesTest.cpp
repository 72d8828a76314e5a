// The settings page as the player works it: switches whose local side
// follows at once and is taken back when the service refuses, and log-out.
#include "core/halcyon/Halcyon.h"
#include "gamepages/fanclub/HCNewsLetterController.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/Faults.h"
#include "localserver/XmlWriter.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "socialpages/settings/HCUserSettingCells.h"
#include "socialpages/settings/HCUserSettingController.h"
#include "social/settings/HCUserSetting.h"
#include "support/RequestThreadGate.h"
#include "transport/provider/HCProvider.h"

namespace {

const std::string kSettingsPath = "users/@me/settings.xml";

std::vector<std::string> alertTitles()
{
    std::vector<std::string> out;
    for (const auto& panel : platform::ui::AlertPanel::shownPanels())
        if (auto alert = std::dynamic_pointer_cast<platform::ui::AlertView>(panel)) out.push_back(alert->title());
    return out;
}

class SettingsPagesTest : public pagetest::PageHarness {
protected:
    std::shared_ptr<HCUserSettingCell> settingRow(const std::string& name)
    {
        auto page = topPageAs<HCUserSettingController>();
        if (!page) return nullptr;
        for (const auto& cell : page->tableView()->visibleCells()) {
            auto row = std::dynamic_pointer_cast<HCUserSettingCell>(cell);
            if (row && row->name()->text() == name) return row;
        }
        return nullptr;
    }
};

TEST_F(SettingsPagesTest, LocationSwitchActsAtOnceAndIsTakenBackWhenTheServiceRefuses)
{
    startOnline();
    Halcyon::setUserDistanceUnit(2);
    ASSERT_TRUE(openPage("UserSetting"));
    auto rows = screenRows();
    ASSERT_FALSE(rows.empty());
    auto location = settingRow("Share my location");
    ASSERT_TRUE(location);
    ASSERT_TRUE(location->booleanSwitch()->isOn());

    server->faults().injectFor("POST", kSettingsPath, localserver::Fault::reply(500, "down"));
    ASSERT_TRUE(location->booleanSwitch()->toggle());
    // Before any answer: the page is covered and the device stopped sharing.
    EXPECT_TRUE(showsLoadingScreen());
    EXPECT_EQ(Halcyon::userDistanceUnit(), 1);
    waitForIdle();
    EXPECT_TRUE(location->booleanSwitch()->isOn());
    EXPECT_EQ(Halcyon::userDistanceUnit(), 2) << "the refused change must not keep the device from sharing";
    EXPECT_EQ(alertTitles(), std::vector<std::string>{"Oops! There was a problem"});
    ASSERT_TRUE(driver->answerAlert("OK"));

    ASSERT_TRUE(location->booleanSwitch()->toggle());
    waitForIdle();
    EXPECT_EQ(lastParam(kSettingsPath, "user_setting[value]"), "0");
    EXPECT_EQ(lastParam(kSettingsPath, "user_setting[id]"), "71");
    EXPECT_EQ(Halcyon::userDistanceUnit(), 1);
    EXPECT_FALSE(Halcyon::getUserLocation());
    // Shown again, the page reads the service's value back.
    topPageAs<HCUserSettingController>()->viewDidAppear(false);
    waitForIdle();
    ASSERT_TRUE(settingRow("Share my location"));
    EXPECT_FALSE(settingRow("Share my location")->booleanSwitch()->isOn());

    // Sharing back on, and the player leaves the settings before the
    // service refuses: the device stops sharing again, and no alert lands
    // on the page the player went back to.
    server->faults().injectFor("POST", kSettingsPath, localserver::Fault::reply(500, "down"));
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(settingRow("Share my location")->booleanSwitch()->toggle());
        EXPECT_NE(Halcyon::userDistanceUnit(), 1) << "the device shares at once";
        ASSERT_TRUE(driver->tapBack());
        settle();
    }
    waitForReplies();
    settle();
    EXPECT_FALSE(topPageAs<HCUserSettingController>());
    EXPECT_EQ(Halcyon::userDistanceUnit(), 1);
    EXPECT_TRUE(alertTitles().empty());
}

TEST_F(SettingsPagesTest, PresenceFlipIsSentAndSwitchesBackOnFailure)
{
    startOnline();
    ASSERT_TRUE(openPage("UserSetting"));
    auto presence = settingRow("Show me online");
    ASSERT_TRUE(presence);
    server->faults().injectFor("POST", kSettingsPath, localserver::Fault::dropConnection());
    ASSERT_TRUE(presence->booleanSwitch()->toggle());
    waitForIdle();
    EXPECT_EQ(requestsWithParam(kSettingsPath, "user_setting[id]", "72"), 1u);
    EXPECT_TRUE(presence->booleanSwitch()->isOn());
    EXPECT_FALSE(showsLoadingScreen());
    ASSERT_TRUE(driver->answerAlert("OK"));

    ASSERT_TRUE(presence->booleanSwitch()->toggle());
    waitForIdle();
    EXPECT_FALSE(presence->booleanSwitch()->isOn());
    EXPECT_TRUE(alertTitles().empty());
}

TEST_F(SettingsPagesTest, AFlipTheProviderDropsIsTakenBackAndTheLoadingScreenGoes)
{
    startOnline();
    ASSERT_TRUE(openPage("UserSetting"));
    auto presence = settingRow("Show me online");
    ASSERT_TRUE(presence);
    const bool before = presence->booleanSwitch()->isOn();
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(presence->booleanSwitch()->toggle());
        EXPECT_TRUE(showsLoadingScreen());
        Halcyon::provider()->destroyAllPendingRequests();
    }
    waitForIdle();
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_EQ(presence->booleanSwitch()->isOn(), before);
    EXPECT_EQ(alertTitles(), std::vector<std::string>{"Oops! There was a problem"});
}

TEST_F(SettingsPagesTest, EverySortOfSettingTheServiceSendsShowsAsItShould)
{
    startOnline();
    auto setting = [](const char* id, const char* key, const char* name, const char* value, const char* type) {
        auto node = localserver::XmlNode::parent("setting");
        node.add("id", id);
        node.add("name", name);
        node.add("value", value);
        node.add("value_type", type);
        node.add("key", key);
        return node;
    };
    auto section = [](const char* title, std::vector<localserver::XmlNode> rows) {
        localserver::ResourceSection out{title, title, {}};
        out.list.resources = std::move(rows);
        return out;
    };
    const std::string listed = localserver::writeSectionedReply(
        {section("Account", {setting("81", "newsletter_open_halcyon", "Newsletter", "1", "bool"),
                             setting("82", "nickname", "Nickname", "1", "string"),
                             setting("83", "sounds", "Sounds", "yes", "bool")}),
         section("Twitter Permissions", {setting("84", "twitterstream", "Stream Integration", "0", "bool"),
                                         setting("85", "tweets", "Tweets", "0", "bool")}),
         section("Facebook Permissions", {setting("86", "facebookstream", "Wall Posts", "0", "bool"),
                                          setting("87", "news", "Stream Integration", "0", "bool")})});
    server->addRoute("GET", "users/@me/settings.xml", localserver::Access::User,
                     [listed](const localserver::Request&) { return localserver::Reply::xml(listed); });
    Halcyon::setLoggedInUserHasHttpBasicCredential(false);
    Halcyon::setLoggedInUserHasFbconnectCredential(true);
    ASSERT_TRUE(openPage("UserSetting"));
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[Account]", "Newsletter", "Nickname", "Sounds",
                                                      "[Twitter Permissions]", "Tweets", "[Facebook Permissions]",
                                                      "Wall Posts", "Stream Integration"}));
    // Subscribing needs an address: without one the newsletter reads off, here too.
    auto newsletter = settingRow("Newsletter");
    ASSERT_TRUE(newsletter);
    EXPECT_FALSE(newsletter->booleanSwitch()->isOn());
    EXPECT_EQ(platform::as<HCUserSetting>(newsletter->resource())->value(), "0");
    auto nickname = settingRow("Nickname");
    ASSERT_TRUE(nickname);
    EXPECT_FALSE(nickname->booleanSwitch()->isOn());
    EXPECT_FALSE(nickname->booleanSwitch()->isEnabled());
    ASSERT_TRUE(settingRow("Sounds"));
    EXPECT_TRUE(settingRow("Sounds")->booleanSwitch()->isOn()) << "\"yes\" reads as on";

    // Facebook is linked already: wall posts open no login (the service,
    // which does not know the row, refuses it; the local side ran first).
    auto wall = settingRow("Wall Posts");
    ASSERT_TRUE(wall);
    const auto settings = topPage();
    ASSERT_TRUE(wall->booleanSwitch()->toggle());
    waitForIdle();
    EXPECT_EQ(topPage(), settings);
    EXPECT_EQ(alertTitles(), std::vector<std::string>{"Oops! There was a problem"});
}

TEST_F(SettingsPagesTest, TheNewslettersRowOpensTheNewsletterPage)
{
    startOnline();
    ASSERT_TRUE(openPage("UserSetting"));
    ASSERT_TRUE(tapRow("Newsletters"));
    settle();
    waitForIdle();
    EXPECT_TRUE(topPageAs<HCNewsLetterController>());
}

TEST_F(SettingsPagesTest, LogoutAsksFirstAndClosesTheDashboard)
{
    startOnline();
    ASSERT_TRUE(openPage("UserSetting"));
    ASSERT_TRUE(tapRightBarButton());
    ASSERT_EQ(platform::ui::ActionSheet::visibleSheets().size(), 1u);
    EXPECT_EQ(platform::ui::ActionSheet::visibleSheets()[0]->title(), HCUserSettingController::kLogoutPrompt);
    ASSERT_TRUE(driver->answerSheet("Cancel"));
    settle();
    EXPECT_TRUE(Halcyon::isShowingFullScreen());

    // A turn of the device takes the sheet away as if cancelled.
    ASSERT_TRUE(tapRightBarButton());
    Halcyon::postDashboardOrientationChangedTo(3, 1);
    settle();
    EXPECT_TRUE(platform::ui::ActionSheet::visibleSheets().empty());
    EXPECT_TRUE(Halcyon::isShowingFullScreen());

    ASSERT_TRUE(tapRightBarButton());
    ASSERT_TRUE(driver->answerSheet("Logout"));
    settle();
    EXPECT_FALSE(Halcyon::isShowingFullScreen());
}

}  // namespace

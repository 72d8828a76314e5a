// Push payloads at launch and while running: a challenge goes to the
// challenge screens, anything else to the add-ons.
#include "client/support/HalcyonTest.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Application.h"

namespace {

class AcceptingAddOn final : public HCAddOn {
public:
    void initializeAddOn(const std::shared_ptr<platform::Dictionary>&) override {}
    void shutdownAddOn() override {}
    void defaultSettings(HCSettings&) override {}
    void loadSettings(HCSettings&, HCXmlReader&) override {}
    bool respondToPushNotification(const std::shared_ptr<platform::Dictionary>& payload, bool launch) override
    {
        asked.push_back(payload->stringForKey("notification_type").value_or("?") + (launch ? " launch" : " running"));
        return true;
    }
    void userLoggedOut() override {}
    std::vector<std::string> asked;
};

class HalcyonPushTest : public HalcyonTest {
protected:
    void SetUp() override
    {
        HalcyonTest::SetUp();
        addOn = std::make_shared<AcceptingAddOn>();
        Halcyon::registerAddOn(addOn);
        HCClientAssembly withChallenges = assembly();
        withChallenges.showChallengeDetail = [this](const std::string& id) { shown.push_back("detail " + id); };
        withChallenges.showChallengeNotification = [this](const std::string& id) { shown.push_back("notice " + id); };
        start(withChallenges, settingsWith({{"HalcyonSettingPromptUserForLogin", no()}}));
    }

    static std::shared_ptr<platform::Dictionary> challenge(const char* id)
    {
        return settingsWith({{"notification_type", platform::String::make("challenge")},
                             {"resource_id", platform::String::make(id)}});
    }
    static std::shared_ptr<platform::Dictionary> launchOptions(std::shared_ptr<platform::Dictionary> payload)
    {
        return settingsWith({{"UIApplicationLaunchOptionsRemoteNotificationKey", payload}});
    }

    std::shared_ptr<AcceptingAddOn> addOn;
    std::vector<std::string> shown;
};

TEST_F(HalcyonPushTest, AtLaunch)
{
    EXPECT_FALSE(Halcyon::respondToApplicationLaunchOptions(nullptr));
    EXPECT_FALSE(Halcyon::respondToApplicationLaunchOptions(settingsWith({{"other", yes()}})));
    EXPECT_TRUE(addOn->asked.empty());

    EXPECT_TRUE(Halcyon::respondToApplicationLaunchOptions(launchOptions(challenge("77"))));
    EXPECT_EQ(shown, std::vector<std::string>{"detail 77"});
    EXPECT_EQ(Halcyon::unviewedChallengesCount(), 0) << "a launch payload shows the challenge, it does not count it";

    auto chat = settingsWith({{"notification_type", platform::String::make("chat")}});
    EXPECT_TRUE(Halcyon::respondToApplicationLaunchOptions(launchOptions(chat)));
    EXPECT_EQ(addOn->asked, std::vector<std::string>{"chat launch"});
}

TEST_F(HalcyonPushTest, WhileRunning)
{
    std::vector<long> counts;
    platform::NotificationCenter::defaultCenter().addObserver(
        this, HCNSNotificationUnviewedChallengeCountChanged, [&counts](const platform::Notification& n) {
            counts.push_back(n.userInfo->get<platform::Number>(HCNSNotificationInfoUnviewedChallengeCount)->intValue());
        });
    EXPECT_FALSE(Halcyon::applicationDidReceiveRemoteNotification(nullptr));

    EXPECT_TRUE(Halcyon::applicationDidReceiveRemoteNotification(challenge("5")));
    EXPECT_TRUE(Halcyon::applicationDidReceiveRemoteNotification(challenge("6")));
    EXPECT_EQ(shown, (std::vector<std::string>{"notice 5", "notice 6"}));
    EXPECT_EQ(Halcyon::unviewedChallengesCount(), 2);
    EXPECT_EQ(counts, (std::vector<long>{1, 2}));
    EXPECT_EQ(platform::ui::Application::shared()->applicationIconBadgeNumber(), 2);

    // A challenge payload without an id is no challenge.
    auto noId = settingsWith({{"notification_type", platform::String::make("challenge")}});
    EXPECT_TRUE(Halcyon::applicationDidReceiveRemoteNotification(noId));
    EXPECT_EQ(addOn->asked, std::vector<std::string>{"challenge running"});
    platform::NotificationCenter::defaultCenter().removeObserver(this);
}

}  // namespace

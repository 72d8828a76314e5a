// The add-on registry: every event in registration order, optional methods
// skipped where missing, push questions stopping at the first taker, and no
// registration once the client runs.
#include <filesystem>
#include <fstream>

#include "client/support/HalcyonTest.h"
#include "kernel/settings/HCSettings.h"
#include "kernel/xml/HCXmlReader.h"
#include "platform/foundation/ProgrammingError.h"
#include "platform/foundation/Sandbox.h"

namespace {

std::vector<std::string> gEvents;

class RecordingAddOn : public HCAddOn {
public:
    RecordingAddOn(std::string name, bool handlesPush) : name_(std::move(name)), handlesPush_(handlesPush) {}
    void initializeAddOn(const std::shared_ptr<platform::Dictionary>& settings) override
    {
        gEvents.push_back(name_ + " initialize " + std::to_string(settings ? settings->count() : 0));
    }
    void shutdownAddOn() override { gEvents.push_back(name_ + " shutdown"); }
    void defaultSettings(HCSettings& settings) override
    {
        settings.setObject("addon-" + name_, name_);
        gEvents.push_back(name_ + " defaults");
    }
    void loadSettings(HCSettings& settings, HCXmlReader& reader) override
    {
        std::optional<std::string> value;
        if (reader.io(("addon-" + name_).c_str(), value) && value) {
            settings.setObject(*value, name_);
        }
        gEvents.push_back(name_ + " load");
    }
    bool respondToPushNotification(const std::shared_ptr<platform::Dictionary>&, bool duringLaunch) override
    {
        gEvents.push_back(name_ + " push " + (duringLaunch ? "launch" : "running"));
        return handlesPush_;
    }
    void userLoggedOut() override { gEvents.push_back(name_ + " loggedOut"); }

protected:
    std::string name_;
    bool handlesPush_;
};

// Implements every optional method too.
class FullAddOn final : public RecordingAddOn {
public:
    using RecordingAddOn::RecordingAddOn;
    void preInitializeAddOn(const std::shared_ptr<platform::Dictionary>&) override
    {
        gEvents.push_back(name_ + " preInitialize");
    }
    void userLoggedIn() override { gEvents.push_back(name_ + " loggedIn"); }
    void offlineUserLoggedInPostIntro() override { gEvents.push_back(name_ + " offlinePostIntro"); }
};

class HalcyonAddOnsTest : public HalcyonTest {
protected:
    void SetUp() override
    {
        HalcyonTest::SetUp();
        gEvents.clear();
        platform::setProgrammingErrorHandler([this](const std::string& text) { errors.push_back(text); });
    }
    std::vector<std::string> errors;
};

TEST_F(HalcyonAddOnsTest, EventsReachAddOnsInOrderAndMissingOptionalsAreSkipped)
{
    std::filesystem::create_directories(platform::Sandbox::bundlePath());
    std::ofstream(platform::Sandbox::bundlePath() + "/HalcyonInternalSettings.xml")
        << "<config><addon-b>from-file</addon-b></config>";
    ASSERT_TRUE(Halcyon::registerAddOn(std::make_shared<RecordingAddOn>("a", false)));
    ASSERT_TRUE(Halcyon::registerAddOn(std::make_shared<FullAddOn>("b", false)));

    start(settingsWith({{"HalcyonSettingUseInternalSettingsFile", yes()}, {"HalcyonSettingPromptUserForLogin", no()}}));
    EXPECT_EQ(gEvents, (std::vector<std::string>{"b preInitialize", "a defaults", "b defaults", "a load", "b load",
                                                 "a initialize 2", "b initialize 2"}));
    EXPECT_EQ(HCSettings::Instance()->objectForKey("a"), std::optional<std::string>("addon-a"));
    EXPECT_EQ(HCSettings::Instance()->objectForKey("b"), std::optional<std::string>("from-file"));

    gEvents.clear();
    Halcyon::notifyAddOnsUserLoggedIn();
    Halcyon::notifyAddOnsUserLoggedOut();
    Halcyon::shutdown();
    EXPECT_EQ(gEvents, (std::vector<std::string>{"b loggedIn", "a loggedOut", "b loggedOut", "a shutdown",
                                                 "b shutdown"}));
}

TEST_F(HalcyonAddOnsTest, OnlyTheFirstTakerOfAPushIsAskedAndRegisteringWhileTheClientRunsIsRefused)
{
    auto payload = settingsWith({{"notification_type", platform::String::make("friend")}});
    EXPECT_FALSE(Halcyon::allowAddOnsToRespondToPushNotification(payload, true)) << "no add-on: nobody took it";

    Halcyon::registerAddOn(std::make_shared<RecordingAddOn>("a", false));
    Halcyon::registerAddOn(std::make_shared<RecordingAddOn>("b", true));
    Halcyon::registerAddOn(std::make_shared<RecordingAddOn>("c", true));
    start(settingsWith({{"HalcyonSettingPromptUserForLogin", no()}}));
    gEvents.clear();
    EXPECT_TRUE(Halcyon::applicationDidReceiveRemoteNotification(payload));
    EXPECT_EQ(gEvents, (std::vector<std::string>{"a push running", "b push running"}));

    EXPECT_FALSE(Halcyon::registerAddOn(std::make_shared<RecordingAddOn>("late", true)));
    EXPECT_EQ(errors.size(), 1u);
    gEvents.clear();
    Halcyon::notifyAddOnsUserLoggedOut();
    EXPECT_EQ(gEvents, (std::vector<std::string>{"a loggedOut", "b loggedOut", "c loggedOut"}));

    // After shut-down a game may register again for the next start-up.
    Halcyon::shutdown();
    EXPECT_TRUE(Halcyon::registerAddOn(std::make_shared<RecordingAddOn>("next", false)));
}

TEST_F(HalcyonAddOnsTest, AnOfflineLogInTellsTheAddOnsItEndedOffline)
{
    approvedPlayer = true;
    Halcyon::registerAddOn(std::make_shared<FullAddOn>("b", false));
    HCClientAssembly noChain = assembly();
    noChain.loginChain = nullptr;
    start(noChain, nullptr);
    EXPECT_FALSE(Halcyon::isBootstrapInProgress());
    EXPECT_FALSE(Halcyon::isSuccessfullyBootstrapped());
    EXPECT_NE(std::find(gEvents.begin(), gEvents.end(), "b offlinePostIntro"), gEvents.end());
}

}  // namespace

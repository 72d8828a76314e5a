// The application's life cycle, driven through the headless application on a
// manual clock: polling pauses and resumes at the rate it had, and each
// re-login trigger asks exactly what it must.
#include "client/support/HalcyonTest.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Application.h"
#include "kernel/reachability/HCReachability.h"
#include "transport/poller/HCPoller.h"

namespace {

class FakeLocation final : public HCLocationSource {
public:
    bool isLocationUpdating() const override { return updating; }
    void stopUpdatingLocation() override { updating = false; }
    platform::ObjectPtr userLocation() const override { return nullptr; }
    bool updating = true;
};

class HalcyonLifeCycleTest : public HalcyonTest {
protected:
    platform::ui::Application& app() { return *platform::ui::Application::shared(); }
    // This build's assembly with a location maker that counts what it makes.
    HCClientAssembly assemblyCountingLocations(int& made)
    {
        HCClientAssembly result = assembly();
        result.makeLocation = [&made] {
            ++made;
            return std::make_shared<FakeLocation>();
        };
        return result;
    }
    // Starts without the start-up log-in, so only the triggers log in.
    void startQuietly(bool requireOnline)
    {
        start(settingsWith({{HalcyonSettingPromptUserForLogin, no()},
                            {HalcyonSettingRequireOnlineStatus, platform::Number::makeBool(requireOnline)}}));
        ASSERT_TRUE(chain->logins.empty());
    }
};


TEST_F(HalcyonLifeCycleTest, ResigningActiveKeepsTheChatRateAndReturningLogsInOnlyWhenOnlineIsRequired)
{
    startQuietly(false);
    Halcyon::setPollingFrequency(static_cast<double>(Halcyon::getPollingFrequencyInChat()));
    app().resignActive();
    EXPECT_EQ(Halcyon::poller()->getPollingFrequency(), 0);
    clock->advance(600);
    app().becomeActive();
    EXPECT_EQ(Halcyon::poller()->getPollingFrequency(), 3);

    // A poller that was idle stays idle.
    Halcyon::stopPolling();
    app().resignActive();
    app().becomeActive();
    EXPECT_EQ(Halcyon::poller()->getPollingFrequency(), 0);

    // Without "require online" becoming active logs nobody in, even after a failed log-in.
    Halcyon::setUserApprovedHalcyon();
    setReachable(true);  // the reachability trigger itself logs in once
    ASSERT_EQ(chain->logins.size(), 1u);
    Halcyon::sessionFailureWithException(nullptr);
    app().resignActive();
    app().becomeActive();
    EXPECT_EQ(chain->logins.size(), 1u);
}

// Becoming active leaves the approval to the log-in decision: a player
// never asked is asked, one who declined gets Game Center only, one who
// approved logs in.
TEST_F(HalcyonLifeCycleTest, BecomingActiveWhenOnlineIsRequiredAndReachableDecidesTheLogInWhateverTheApproval)
{
    auto screens = std::make_shared<RecordingScreens>();
    int gameCenterChecks = 0;
    HCClientAssembly with = assembly();
    with.loginScreens = screens;
    with.sendPendingData = [&gameCenterChecks](const std::string&) { ++gameCenterChecks; };
    start(std::move(with), settingsWith({{HalcyonSettingPromptUserForLogin, no()},
                                         {HalcyonSettingRequireOnlineStatus, yes()}}));
    // Not reachable: nothing.
    app().resignActive();
    app().becomeActive();
    EXPECT_TRUE(screens->shown.empty());

    setReachable(true);  // the reachability trigger itself waits for the approval
    app().resignActive();
    app().becomeActive();
    EXPECT_EQ(screens->shown, std::vector<std::string>{"approval"});

    Halcyon::setUserDeniedHalcyon();
    app().resignActive();
    app().becomeActive();
    EXPECT_EQ(gameCenterChecks, 1);
    EXPECT_EQ(screens->shown.size(), 1u) << "a player who declined was asked again";
    EXPECT_TRUE(chain->logins.empty());

    Halcyon::setUserApprovedHalcyon();
    app().resignActive();
    app().becomeActive();
    EXPECT_EQ(chain->logins, std::vector<std::string>{"0"});
}

TEST_F(HalcyonLifeCycleTest, ForegroundLogsInWhenReachableApprovedAndNotLoggedIn)
{
    startQuietly(false);
    app().enterBackground();
    app().becomeActive();  // foreground then active: not reachable, nothing
    EXPECT_TRUE(chain->logins.empty());

    HCReachability::Instance()->setOverride(HCReachability::ReachableViaWiFi);  // not delivered yet
    app().enterBackground();
    app().enterForeground();
    EXPECT_TRUE(chain->logins.empty()) << "not approved";

    Halcyon::setUserApprovedHalcyon();
    app().enterBackground();
    app().enterForeground();
    EXPECT_EQ(chain->logins, std::vector<std::string>{"0"});

    // Logged in: no further log-in, neither from the foreground nor from a
    // second request while the first is under way.
    Halcyon::sessionDidLoginUser();
    app().becomeActive();
    app().enterBackground();
    app().enterForeground();
    EXPECT_EQ(chain->logins.size(), 1u);
}

TEST_F(HalcyonLifeCycleTest, ReachabilityReturningLogsInAnApprovedPlayerOnce)
{
    startQuietly(false);
    setReachable(true);
    EXPECT_TRUE(chain->logins.empty()) << "not approved";
    setReachable(false);

    Halcyon::setUserApprovedHalcyon();
    setReachable(true);
    EXPECT_EQ(chain->logins, std::vector<std::string>{"0"});
    // The log-in is still under way: another change adds nothing.
    setReachable(false);
    setReachable(true);
    EXPECT_EQ(chain->logins.size(), 1u);
}

TEST_F(HalcyonLifeCycleTest, TheLocationFixStopsInTheBackgroundAndRestartsOnlyWhenAllowed)
{
    int made = 0;
    HCClientAssembly withLocation = assemblyCountingLocations(made);
    start(withLocation, settingsWith({{HalcyonSettingPromptUserForLogin, no()}}));
    Halcyon::setUserApprovedHalcyon();
    Halcyon::setUserDistanceUnit(2);
    Halcyon::startLocationManagerIfAllowed();
    ASSERT_EQ(made, 1);
    auto first = std::static_pointer_cast<FakeLocation>(Halcyon::locationSource());

    app().enterBackground();
    EXPECT_FALSE(first->updating);
    EXPECT_EQ(Halcyon::locationSource(), nullptr);
    app().enterForeground();
    EXPECT_EQ(made, 2);
    EXPECT_NE(Halcyon::locationSource(), nullptr);
}

TEST_F(HalcyonLifeCycleTest, LocationIsNeverStartedWhenTheGameDisabledIt)
{
    int made = 0;
    HCClientAssembly withLocation = assemblyCountingLocations(made);
    start(withLocation, settingsWith({{HalcyonSettingDisableLocationServices, yes()}}));
    Halcyon::setUserApprovedHalcyon();
    Halcyon::setUserDistanceUnit(2);
    EXPECT_EQ(Halcyon::userDistanceUnit(), 1) << "the unit must be forced off";
    // A unit stored by an earlier run that allowed location does not open the gate.
    platform::UserDefaults::standardUserDefaults()->setInteger("HalcyonUserOptionDistanceUnit", 2);
    Halcyon::startLocationManagerIfAllowed();
    EXPECT_EQ(made, 0);
    EXPECT_EQ(Halcyon::locationSource(), nullptr);
}

}  // namespace

// User statistics on a manual clock, driven through the headless application.
#include "client/support/HalcyonTest.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Application.h"

namespace {

class HalcyonUserStatsTest : public HalcyonTest {
protected:
    void SetUp() override
    {
        HalcyonTest::SetUp();
        start(settingsWith({{"HalcyonSettingPromptUserForLogin", no()}}));
    }
    platform::ui::Application& app() { return *platform::ui::Application::shared(); }
    void awayFor(double seconds)
    {
        app().resignActive();
        clock->advance(seconds);
        app().becomeActive();
    }
};

TEST_F(HalcyonUserStatsTest, LaunchCountsOneSessionAndAwayFor119SecondsContinuesItAnd120StartsANewOne)
{
    // The platform says became-active once launching is done.
    platform::NotificationCenter::defaultCenter().post(platform::ui::ApplicationDidBecomeActiveNotification,
                                                       platform::ui::Application::shared());
    EXPECT_EQ(Halcyon::numberOfGameSessions(), 1);
    EXPECT_EQ(Halcyon::numberOfOnlineGameSessions(), 0);
    clock->advance(10.9);
    awayFor(119);
    EXPECT_EQ(Halcyon::numberOfGameSessions(), 1);
    EXPECT_EQ(Halcyon::totalGameSessionsDuration(), 10) << "10.9 s truncates to 10";

    clock->advance(5.5);
    awayFor(120);
    EXPECT_EQ(Halcyon::numberOfGameSessions(), 2);
    // The inactive spells never count as play.
    EXPECT_EQ(Halcyon::totalGameSessionsDuration(), 15);
}

TEST_F(HalcyonUserStatsTest, AStartUpAfterAShutDownInTheSameProcessIsALaunchAgainAndObservesOnce)
{
    clock->advance(3);
    Halcyon::shutdown();
    start(settingsWith({{"HalcyonSettingPromptUserForLogin", no()}}));
    EXPECT_EQ(Halcyon::numberOfGameSessions(), 2);
    awayFor(200);
    EXPECT_EQ(Halcyon::numberOfGameSessions(), 3) << "one observer left, not two";
    // No handshake has stored the poller's intervals yet.
    EXPECT_EQ(Halcyon::getPollingFrequencyDefault(), 30);
    EXPECT_EQ(Halcyon::getPollingFrequencyInChat(), 3);
}

TEST_F(HalcyonUserStatsTest, DashboardTimeRestartsAfterAnInactiveSpellWithoutANewLaunch)
{
    Halcyon::dashboardLaunched();
    EXPECT_EQ(Halcyon::numberOfDashboardLaunches(), 0) << "not approved: neither counted nor timed";
    clock->advance(30);
    Halcyon::dashboardClosed();
    EXPECT_EQ(Halcyon::totalDashboardDuration(), 0);

    Halcyon::setUserApprovedHalcyon();
    Halcyon::dashboardLaunched();
    clock->advance(20.7);
    awayFor(1000);  // the spell itself is not dashboard time
    clock->advance(4.6);
    Halcyon::dashboardLaunched();  // still open: not a second launch
    Halcyon::dashboardClosed();
    EXPECT_EQ(Halcyon::numberOfDashboardLaunches(), 1);
    EXPECT_EQ(Halcyon::totalDashboardDuration(), 24);
}

TEST_F(HalcyonUserStatsTest, TheLogInSendsTheCountersAndTheResetTakesAwayOnlyWhatWasSent)
{
    clock->advance(42);
    awayFor(200);
    HCHttpNestedQueryStringWriter writer;
    const HCUserStatsSnapshot sent = Halcyon::getUserStatsParams(writer);
    std::vector<std::string> wire;
    for (const auto& parameter : writer.getQueryParametersAsURLRequestParameters()) {
        wire.push_back(parameter.name() + "=" + parameter.value());
    }
    // Names outside any scope, the bracket first: the names the service reads.
    EXPECT_EQ(wire, (std::vector<std::string>{"[user_stats]total_dashboard_duration=0",
                                              "[user_stats]total_dashboard_launches=0",
                                              "[user_stats]total_game_session_duration=42",
                                              "[user_stats]total_game_sessions=2",
                                              "[user_stats]total_online_game_sessions=0",
                                              "[user_stats]version=2"}));

    // Played on while the reply was on its way.
    clock->advance(8);
    awayFor(300);
    Halcyon::resetUserStats(sent);
    EXPECT_EQ(Halcyon::numberOfGameSessions(), 1);
    EXPECT_EQ(Halcyon::totalGameSessionsDuration(), 8);
}

TEST_F(HalcyonUserStatsTest, TheResetAfterAUserSwitchLeavesTheNewUsersCountersAlone)
{
    HCUserStatsSnapshot sentForOther;
    sentForOther.userId = "1001";
    sentForOther.gameSessions = 3;
    Halcyon::setUserStatValue("HalcyonUserStatNumberOfGameSessions", 1);
    platform::UserDefaults::standardUserDefaults()->setInteger("HalcyonUserStatNumberOfGameSessions.1001", 5);

    Halcyon::resetUserStats(sentForOther);
    EXPECT_EQ(Halcyon::numberOfGameSessions(), 1) << "the current user's counter was touched";
    EXPECT_EQ(platform::UserDefaults::standardUserDefaults()->integerForKey("HalcyonUserStatNumberOfGameSessions.1001"),
              2);
}

}  // namespace

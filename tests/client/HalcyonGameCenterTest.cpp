// The Game Center bridge against the headless Game Center: the sign-in and
// what follows it, the id map's two places, reports on both paths of the
// version gate, and where its answers and notices arrive.
#include <atomic>
#include <filesystem>
#include <fstream>

#include "client/support/HalcyonTest.h"
#include "core/gamecenter/GCDeferredSubmission.h"
#include "core/halcyon/HalcyonDelegate.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "core/users/HCUser.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/gamecenter/GameCenter.h"
#include "support/BannerWindow.h"

namespace {

namespace gc = platform::gamecenter;

class GameDelegate final : public HalcyonDelegate {
public:
    void userLoggedInToGameCenter() override { ++gameCenterSignIns; }
    int gameCenterSignIns = 0;
};

void writeMap(const std::filesystem::path& folder, const std::string& leaderboardCategory)
{
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "HCGameCenter.plist")
        << "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
           "<key>Leaderboards</key><dict><key>7</key><string>"
        << leaderboardCategory
        << "</string></dict><key>Achievements</key><dict><key>3</key><string>gc.ach</string></dict>"
           "</dict></plist>";
}

class HalcyonGameCenterTest : public HalcyonTest {
protected:
    void SetUp() override
    {
        HalcyonTest::SetUp();
        gc::GameCenterDevice::reset();
        platform::DeviceFacts::setSystemVersion("4.2");
        delegates = HCDelegatesContainer::containerWithHalcyonDelegate(&game);
    }
    void TearDown() override
    {
        HalcyonTest::TearDown();
        gc::GameCenterDevice::reset();
    }

    void startWithGameCenter()
    {
        approvedPlayer = true;
        HCClientAssembly built = assembly();
        built.sendPendingData = [this](const std::string& userId) { pendingSent.push_back(userId); };
        start(std::move(built), settingsWith({{HalcyonSettingGameCenterEnabled, yes()}}));
        window = testsupport::BannerWindow::show();
    }
    // The log-in ends with the service and Game Center starts.
    void logIn()
    {
        auto user = HCResource::initWithId<HCUser>(std::string("1001"));
        user->setName(std::string("Ann"));
        Halcyon::setLocalUser(user);
        Halcyon::sessionDidLoginUser();
    }
    bool waitForCheck(size_t count)
    {
        return testsupport::runMainUntil([&] { return pendingSent.size() >= count; });
    }

    GameDelegate game;
    std::shared_ptr<testsupport::BannerWindow> window;
    std::vector<std::string> pendingSent;
};

TEST_F(HalcyonGameCenterTest, FailedSignInShowsTheServiceBannersOnlyAfterABootstrap)
{
    gc::GameCenterDevice::setPlayer(std::nullopt);  // the player declines
    startWithGameCenter();
    Halcyon::sessionFailureWithException(nullptr);  // no bootstrap
    ASSERT_TRUE(waitForCheck(1));
    testsupport::drainMain();
    EXPECT_TRUE(window->texts().empty());
    EXPECT_FALSE(Halcyon::isLoggedIntoGameCenter());

    Halcyon::doBootstrapAsUserId(std::string("1001"), HCDelegate(), HCDelegate());
    logIn();  // bootstrapped now; the bridge exists, so the check runs at once
    EXPECT_EQ(pendingSent.size(), 2u);
    gc::GameCenterDevice::reauthenticate();  // still declined
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !window->texts().empty(); }));
    EXPECT_EQ(window->texts(), std::vector<std::string>{"Welcome back, Ann [ok]"});
    EXPECT_EQ(game.gameCenterSignIns, 0);
}

TEST_F(HalcyonGameCenterTest, ReauthenticationTellsTheGameAgainButRunsTheCheckOncePerLogIn)
{
    gc::GameCenterDevice::setPlayer("G:1");
    gc::GameCenterDevice::setFriends({"G:2"});
    startWithGameCenter();
    std::vector<bool> friendsNoticeOnMain;
    platform::NotificationCenter::defaultCenter().addObserver(
        this, HCNSNotificationGameCenterFriendsLoaded,
        [&](const auto&) { friendsNoticeOnMain.push_back(platform::Thread::isMainThread()); });
    logIn();
    ASSERT_TRUE(waitForCheck(1));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return friendsNoticeOnMain.size() == 1; }));
    EXPECT_TRUE(Halcyon::isLoggedIntoGameCenter());
    EXPECT_EQ(Halcyon::getGameCenterFriends(), std::vector<std::string>{"G:2"});

    gc::GameCenterDevice::reauthenticate();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return friendsNoticeOnMain.size() == 2; }));
    EXPECT_EQ(game.gameCenterSignIns, 2);
    EXPECT_EQ(pendingSent.size(), 1u) << "a re-authentication uploads nothing again";
    EXPECT_EQ(friendsNoticeOnMain, (std::vector<bool>{true, true}));
    platform::NotificationCenter::defaultCenter().removeObserver(this);
}

TEST_F(HalcyonGameCenterTest, IdMapFallsBackToTheMainBundleWhenTheResourceBundleHasNone)
{
    gc::GameCenterDevice::setPlayer("G:1");
    const auto bundle = std::filesystem::path(sandbox.str()) / "Bundle";
    std::filesystem::create_directories(bundle / "HCResources_Universal.bundle");
    writeMap(bundle, "main.board");
    startWithGameCenter();
    logIn();
    ASSERT_TRUE(waitForCheck(1));
    EXPECT_EQ(Halcyon::getGameCenterLeaderboardCategory("7"), "main.board");
    EXPECT_EQ(Halcyon::getGameCenterAchievementId("3"), "gc.ach");
    EXPECT_EQ(Halcyon::getGameCenterLeaderboardCategory("8"), std::nullopt);
}

TEST_F(HalcyonGameCenterTest, IdMapOfTheResourceBundleWins)
{
    gc::GameCenterDevice::setPlayer("G:1");
    const auto bundle = std::filesystem::path(sandbox.str()) / "Bundle";
    writeMap(bundle, "main.board");
    writeMap(bundle / "HCResources_Universal.bundle", "resource.board");
    startWithGameCenter();
    logIn();
    ASSERT_TRUE(waitForCheck(1));
    EXPECT_EQ(Halcyon::getGameCenterLeaderboardCategory("7"), "resource.board");
}

TEST_F(HalcyonGameCenterTest, ReportsGoDirectFromFourTwoAndFromTheirOwnThreadBelowWhichTimeOutIfUnanswered)
{
    for (const char* version : {"4.2", "4.1"}) {
        SCOPED_TRACE(version);
        gc::GameCenterDevice::reset();
        gc::GameCenterDevice::setPlayer("G:1");
        platform::DeviceFacts::setSystemVersion(version);
        pendingSent.clear();
        startWithGameCenter();
        logIn();
        ASSERT_TRUE(waitForCheck(1));

        std::vector<std::string> answers;
        auto record = [&](const std::optional<gc::Error>& error) {
            answers.push_back(platform::Thread::isMainThread() ? (error ? "failed" : "ok") : "off main");
        };
        auto date = Halcyon::submitScoreToGameCenter(120, "board", record);
        ASSERT_TRUE(date);
        EXPECT_DOUBLE_EQ(date->timeIntervalSince1970(), clock->now());
        Halcyon::submitAchievementToGameCenter("gc.ach", 100, record);
        ASSERT_TRUE(testsupport::runMainUntil([&] { return answers.size() == 2; }));
        EXPECT_EQ(answers, (std::vector<std::string>{"ok", "ok"}));
        const bool deferred = std::string(version) == "4.1";
        EXPECT_EQ(gc::GameCenterDevice::reportedScores().at(0).fromMainThread, !deferred);
        EXPECT_EQ(gc::GameCenterDevice::reportedAchievements().at(0).fromMainThread, !deferred);

        // A report that is never answered: only the deferred path ends it.
        gc::GameCenterDevice::setDropped(gc::Call::ReportScore, true);
        answers.clear();
        Halcyon::submitScoreToGameCenter(130, "board", record);
        clock->advance(kDeferredSubmissionTimeout);
        testsupport::runMainUntil([&] { return !answers.empty(); }, 0.5);
        EXPECT_EQ(answers, deferred ? std::vector<std::string>{"failed"} : std::vector<std::string>{});
        restartProcess();
    }
}

}  // namespace

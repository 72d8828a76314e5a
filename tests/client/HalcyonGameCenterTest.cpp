// The Game Center bridge against the headless Game Center: the sign-in and
// what follows it, the id map's two places, reports on both paths of the
// version gate, and where its answers and notices arrive.
#include <atomic>
#include <filesystem>
#include <fstream>

#include "client/support/HalcyonTest.h"
#include "core/gamecenter/GCDeferredSubmission.h"
#include "core/gamecenter/HalcyonGameCenter.h"
#include "core/halcyon/HalcyonDelegate.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "core/replies/HCTableSectionDescription.h"
#include "core/users/HCUser.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/gamecenter/GameCenter.h"
#include "scores/highscores/HCHighScore.h"
#include "scores/leaderboards/HCLeaderboardService.h"
#include "scores/leaderboards/HCLeaderboard_Sync.h"
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
    // A fresh device of that system version with its player, the client
    // started and logged in, the after-log-in check done.
    void startSignedInOn(const char* version)
    {
        gc::GameCenterDevice::reset();
        gc::GameCenterDevice::setPlayer("G:1");
        platform::DeviceFacts::setSystemVersion(version);
        pendingSent.clear();
        startWithGameCenter();
        logIn();
        ASSERT_TRUE(waitForCheck(1));
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
    gc::GameCenterDevice::setDelay(gc::Call::Authenticate, 5);
    startWithGameCenter();
    std::vector<bool> friendsNoticeOnMain;
    platform::NotificationCenter::defaultCenter().addObserver(
        this, HCNSNotificationGameCenterFriendsLoaded,
        [&](const auto&) { friendsNoticeOnMain.push_back(platform::Thread::isMainThread()); });
    logIn();
    // Another log-in while the sign-in runs leaves the check to its end.
    Halcyon::doBootstrapAsUserId(std::string("1001"), HCDelegate(), HCDelegate());
    logIn();
    testsupport::drainMain();
    EXPECT_TRUE(pendingSent.empty());
    clock->advance(5);
    ASSERT_TRUE(waitForCheck(1));
    gc::GameCenterDevice::setDelay(gc::Call::Authenticate, 0);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return friendsNoticeOnMain.size() == 1; }));
    EXPECT_TRUE(Halcyon::isLoggedIntoGameCenter());
    EXPECT_EQ(Halcyon::getGameCenterFriends(), std::vector<std::string>{"G:2"});

    gc::GameCenterDevice::reauthenticate();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return friendsNoticeOnMain.size() == 2; }));
    EXPECT_EQ(game.gameCenterSignIns, 2);
    EXPECT_EQ(pendingSent.size(), 1u) << "a re-authentication uploads nothing again";
    EXPECT_EQ(friendsNoticeOnMain, (std::vector<bool>{true, true}));

    // A failed friends load leaves no friends, yet they count as loaded and
    // the pages still hear.
    gc::GameCenterDevice::setFailure(gc::Call::LoadFriends, gc::Error{5, "offline"});
    gc::GameCenterDevice::reauthenticate();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return friendsNoticeOnMain.size() == 3; }));
    EXPECT_EQ(Halcyon::getGameCenterFriends(), std::nullopt);
    platform::NotificationCenter::defaultCenter().removeObserver(this);

    // A player Game Center does not know has no name.
    gc::GameCenterDevice::setAlias("G:2", "Bo");
    std::vector<std::optional<std::string>> names;
    for (const char* id : {"G:2", "G:404"}) {
        Halcyon::loadGameCenterPlayerName(id, [&](const auto& alias, const auto&) { names.push_back(alias); });
    }
    ASSERT_TRUE(testsupport::runMainUntil([&] { return names.size() == 2; }));
    EXPECT_EQ(names, (std::vector<std::optional<std::string>>{"Bo", std::nullopt}));
}

// An add-on that asks Game Center for a mapped id while it shuts down.
class GameCenterAskingAddOn final : public HCAddOn {
public:
    void initializeAddOn(const std::shared_ptr<platform::Dictionary>&) override {}
    void shutdownAddOn() override { idAtShutdown = Halcyon::getGameCenterAchievementId("3"); }
    void defaultSettings(HCSettings&) override {}
    void loadSettings(HCSettings&, HCXmlReader&) override {}
    bool respondToPushNotification(const std::shared_ptr<platform::Dictionary>&, bool) override { return false; }
    void userLoggedOut() override {}
    std::optional<std::string> idAtShutdown = std::string("not shut down");
};

TEST_F(HalcyonGameCenterTest, ShutdownLetsGameCenterGoBeforeTheAddOnsShutDown)
{
    gc::GameCenterDevice::setPlayer("G:1");
    writeMap(std::filesystem::path(sandbox.str()) / "Bundle", "board");
    auto addOn = std::make_shared<GameCenterAskingAddOn>();
    ASSERT_TRUE(Halcyon::registerAddOn(addOn));
    startWithGameCenter();
    logIn();
    ASSERT_TRUE(waitForCheck(1));
    ASSERT_EQ(Halcyon::getGameCenterAchievementId("3"), "gc.ach");
    Halcyon::shutdown();
    EXPECT_EQ(addOn->idAtShutdown, std::nullopt);
    Halcyon::_resetAddOnsForTesting();
}

TEST_F(HalcyonGameCenterTest, IdMapAnswersEachMappedIdAndNilForOthers)
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

TEST_F(HalcyonGameCenterTest, GameCenterAchievementProgressIsKeptUnderTheServiceId)
{
    gc::GameCenterDevice::setPlayer("G:1");
    gc::GameCenterDevice::addAchievement("gc.ach", 40);
    gc::GameCenterDevice::addAchievement("gc.unmapped", 70);
    gc::GameCenterDevice::addAchievement("3", 90);  // a Game Center id that is also a service id
    writeMap(std::filesystem::path(sandbox.str()) / "Bundle", "board");
    startWithGameCenter();
    logIn();
    ASSERT_TRUE(waitForCheck(1));
    auto bridge = HalcyonGameCenter::create();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !bridge->achievements().empty(); }));
    testsupport::drainMain();
    EXPECT_EQ(bridge->achievements(), (std::map<std::string, double>{{"3", 40}}));
}

TEST_F(HalcyonGameCenterTest, IdMapIsTheGamesOwnInItsMainBundleNotTheClientsResourceBundle)
{
    gc::GameCenterDevice::setPlayer("G:1");
    const auto bundle = std::filesystem::path(sandbox.str()) / "Bundle";
    writeMap(bundle, "main.board");
    writeMap(bundle / "HCResources_Universal.bundle", "resource.board");
    startWithGameCenter();
    EXPECT_EQ(Halcyon::getGameCenterMappedLeaderboardIds(), std::vector<std::string>{"7"}) << "before the bridge too";
    logIn();
    ASSERT_TRUE(waitForCheck(1));
    EXPECT_EQ(Halcyon::getGameCenterLeaderboardCategory("7"), "main.board");

    // Only the resource bundle has one: no map at all.
    restartProcess();
    std::filesystem::remove(bundle / "HCGameCenter.plist");
    startWithGameCenter();
    logIn();
    ASSERT_TRUE(waitForCheck(2));
    EXPECT_EQ(Halcyon::getGameCenterLeaderboardCategory("7"), std::nullopt);
    EXPECT_TRUE(Halcyon::getGameCenterMappedLeaderboardIds().empty());
}

TEST_F(HalcyonGameCenterTest, ReportsGoDirectFromFourTwoAndFromTheirOwnThreadBelowWhichTimeOutIfUnanswered)
{
    for (const char* version : {"4.2", "4.1"}) {
        SCOPED_TRACE(version);
        ASSERT_NO_FATAL_FAILURE(startSignedInOn(version));

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

        // Still signed in on the device when the next start-up has made no
        // bridge yet: reports go out all the same, the way the system needs.
        gc::GameCenterDevice::setDropped(gc::Call::ReportScore, false);
        Halcyon::shutdown();
        startWithGameCenter();
        ASSERT_TRUE(Halcyon::isLoggedIntoGameCenter());
        answers.clear();
        Halcyon::submitScoreToGameCenter(140, "board", record);
        Halcyon::submitAchievementToGameCenter("gc.ach", 50, record);
        ASSERT_TRUE(testsupport::runMainUntil([&] { return answers.size() == 2; }));
        EXPECT_EQ(answers, (std::vector<std::string>{"ok", "ok"}));
        EXPECT_EQ(gc::GameCenterDevice::reportedScores().back().value, 140);
        EXPECT_EQ(gc::GameCenterDevice::reportedScores().back().fromMainThread, !deferred);
        EXPECT_EQ(gc::GameCenterDevice::reportedAchievements().back().fromMainThread, !deferred);
        restartProcess();
    }
}

TEST_F(HalcyonGameCenterTest, GameCenterNeedsFourOneAndReportsDirectlyFromFourTwoComparedAsNumbers)
{
    for (const char* version : {"4.0", "4.10"}) {
        SCOPED_TRACE(version);
        ASSERT_NO_FATAL_FAILURE(startSignedInOn(version));
        const bool available = std::string(version) == "4.10";
        EXPECT_EQ(Halcyon::isUsingGameCenter(), available);
        EXPECT_EQ(Halcyon::isLoggedIntoGameCenter(), available);
        // Nothing loads without Game Center, so nothing is waited for.
        Halcyon::loadGameCenterScores("7");
        EXPECT_TRUE(Halcyon::isGameCenterScoreLoadedForLeaderboardId("7", 2));

        std::vector<bool> answers;
        Halcyon::submitScoreToGameCenter(120, "board", [&](const auto& error) { answers.push_back(!error); });
        ASSERT_TRUE(testsupport::runMainUntil([&] { return answers.size() == 1; }));
        EXPECT_EQ(answers.front(), available);
        if (available) {
            ASSERT_EQ(gc::GameCenterDevice::reportedScores().size(), 1u);
            EXPECT_TRUE(gc::GameCenterDevice::reportedScores().front().fromMainThread) << "4.10 is past 4.2";
        } else {
            EXPECT_TRUE(gc::GameCenterDevice::reportedScores().empty());
        }
        restartProcess();
    }
}

// "s<id>:<value>#<rank>" for a service score, "g:<value>#<rank>" for Game Center's.
std::vector<std::string> rowsOf(const std::shared_ptr<HCPaginatedSeries>& sections, size_t index)
{
    std::vector<std::string> texts;
    auto section = platform::as<HCTableSectionDescription>(sections->objectAtIndex(index));
    for (const auto& object : section->page()->objects()) {
        auto score = platform::as<HCHighScore>(object);
        texts.push_back((score->resourceId() ? "s" + *score->resourceId() : std::string("g")) + ":" +
                        std::to_string(score->score()) + "#" + std::to_string(score->rank()));
    }
    return texts;
}

std::shared_ptr<HCHighScore> serviceScore(const std::string& id, std::int64_t value, int rank, int gameCenterSecond)
{
    auto score = HCResource::initWithId<HCHighScore>(id);
    score->setScore(value);
    score->setRank(std::to_string(rank));
    score->setGameCenterSeconds(std::to_string(gameCenterSecond));
    return score;
}

TEST_F(HalcyonGameCenterTest, TheLoadedBoardsScoresMergeIntoItsPageInTheOrderOfTheLocalCopy)
{
    gc::GameCenterDevice::setPlayer("G:1");
    gc::GameCenterDevice::addScore({"board", "G:2", 150, 20});
    gc::GameCenterDevice::addScore({"board", "G:1", 100, 10.4});  // the service's score 5, reported at second 10
    gc::GameCenterDevice::addScore({"board", "G:3", 90, 30});
    writeMap(std::filesystem::path(sandbox.str()) / "Bundle", "board");
    startWithGameCenter();
    logIn();
    ASSERT_TRUE(waitForCheck(1));
    int loaded = 0;
    platform::NotificationCenter::defaultCenter().addObserver(this, HCNSNotificationGameCenterScoresLoaded,
                                                              [&](const auto&) { ++loaded; });
    gc::GameCenterDevice::setDelay(gc::Call::LoadScores, 1);
    Halcyon::loadGameCenterScores(std::string("7"));
    // The page asks with an id of its own that reads the same.
    EXPECT_FALSE(Halcyon::isGameCenterScoreLoadedForLeaderboardId(std::string("7"), 2));
    EXPECT_TRUE(Halcyon::isGameCenterScoreLoadedForLeaderboardId(std::string("8"), 2));
    clock->advance(1);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return loaded == 3; }));
    EXPECT_TRUE(Halcyon::isGameCenterScoreLoadedForLeaderboardId(std::string("7"), 2));
    platform::NotificationCenter::defaultCenter().removeObserver(this);

    auto page = [](std::vector<platform::ObjectPtr> objects) {
        return HCPaginatedSeries::paginatedSeriesFromArray(objects);
    };
    auto globals = page({HCTableSectionDescription::sectionWithTitle(std::string("Mine"),
                                                                    page({serviceScore("5", 100, 40, 10)})),
                         HCTableSectionDescription::sectionWithTitle(
                             std::string("All"), page({serviceScore("6", 200, 1, 0), serviceScore("5", 100, 2, 10)}))});
    auto friends = page({serviceScore("8", 120, 1, 0)});

    // Not in the local copy yet: merged as an ascending board.
    auto ascending = Halcyon::combinedGameCenterForLeaderboardId("7", 2, globals, friends);
    EXPECT_EQ(rowsOf(ascending, 2), (std::vector<std::string>{"g:90#1", "g:150#2", "s6:200#3", "s5:100#4"}));

    auto board = HCResource::initWithId<HCLeaderboard_Sync>(std::string("7"));
    board->setDescendingSortOrder("1");
    board->setActive("1");
    ASSERT_TRUE(HCLeaderboardService::synchLeaderboardsList({board}, {}, std::string("1001"), false));
    auto merged = Halcyon::combinedGameCenterForLeaderboardId("7", 2, globals, friends);
    ASSERT_EQ(merged->count(), 3u);
    EXPECT_EQ(rowsOf(merged, 1), std::vector<std::string>{"s8:120#1"});
    EXPECT_EQ(rowsOf(merged, 2), (std::vector<std::string>{"s6:200#1", "g:150#2", "s5:100#3", "g:90#4"}));
    EXPECT_EQ(rowsOf(merged, 0), std::vector<std::string>{"s5:100#3"});

    // Another board's page gets no Game Center scores.
    auto other = Halcyon::combinedGameCenterForLeaderboardId("8", 2, globals, friends);
    EXPECT_EQ(rowsOf(other, 2), (std::vector<std::string>{"s6:200#1", "s5:100#2"}));
    EXPECT_EQ(rowsOf(other, 0), std::vector<std::string>{"s5:100#40"});
}

}  // namespace

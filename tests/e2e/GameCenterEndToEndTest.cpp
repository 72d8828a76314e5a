// Game Center beside the service, with nothing faked between them: the client
// started against the local server with Game Center enabled, its bridge
// signing in to the headless Game Center, and each score and achievement
// reaching both, whichever answers first, whichever fails, and when the
// provider never answers. Also the catch-up that sends the local bests to
// Game Center the first time the player is signed in there.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <mutex>

#include "client/HCClientHooks.h"
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonDelegate.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "core/publicclass/HCDelegatesContainer.h"
#include "core/services/HCService.h"
#include "kernel/reachability/HCReachability.h"
#include "kernel/settings/HCSettings.h"
#include "localserver/Fixtures.h"
#include "localserver/Server.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/Sandbox.h"
#include "platform/gamecenter/GameCenter.h"
#include "scores/achievements/HCGameCenterAchievement.h"
#include "scores/highscores/HCHighScoreBatchEntry.h"
#include "scores/highscores/HCHighScoreService.h"
#include "support/TestSupport.h"
#include "transport/handles/HCRequestHandle.h"
#include "transport/provider/HCProvider.h"

namespace defaults = localserver::defaults;
namespace gc = platform::gamecenter;

namespace {

constexpr const char* kUnlockPath = "users/@me/unlocked_achievements.xml";

class Game final : public HalcyonDelegate {
public:
    void userLoggedIn(const std::string& userId) override { calls.push_back("online " + userId); }
    void offlineUserLoggedIn(const std::string& userId) override { calls.push_back("offline " + userId); }
    std::vector<std::string> calls;
};

class GameCenterEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HCClientHooks::resetForTesting();
        platform::Sandbox::configure(sandbox.str());
        clock = std::make_unique<testsupport::ScopedManualClock>();
        gc::GameCenterDevice::reset();
        platform::DeviceFacts::setSystemVersion("4.2");
        gc::GameCenterDevice::setPlayer("G:1");
        localserver::registerServiceRoutes(server);
        ASSERT_TRUE(server.start()) << server.error();
        HCSettings::setDefaultOverride("server-url", server.serviceRootUrl());
        Halcyon::setUserApprovedHalcyon();
        Halcyon::setDoneWithGetTheMost(true);
        // The game's map: both built-in boards and the first three achievements.
        const auto bundle = std::filesystem::path(sandbox.str()) / "Bundle";
        std::filesystem::create_directories(bundle);
        std::ofstream(bundle / "HCGameCenter.plist")
            << "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Leaderboards</key><dict>"
               "<key>1</key><string>gc.high</string><key>2</key><string>gc.moves</string></dict>"
               "<key>Achievements</key><dict><key>1</key><string>gc.1</string><key>2</key><string>gc.2</string>"
               "<key>3</key><string>gc.3</string></dict></dict></plist>";
    }
    void TearDown() override
    {
        HCClientHooks::resetForTesting();
        testsupport::drainMain();
        server.stop();
        gc::GameCenterDevice::reset();
    }

    // Starts the client as the game would and waits for the log-in's end and
    // what follows it (Game Center's sign-in, the uploads after it).
    void start()
    {
        auto settings = platform::Dictionary::make();
        settings->setString(HalcyonSettingInitialUserId, defaults::kUserId);
        settings->setObject(HalcyonSettingGameCenterEnabled, platform::Number::makeBool(true));
        Halcyon::initializeWithProductKey(defaults::kProductKey, defaults::kProductSecret, defaults::kGameName,
                                          settings, HCDelegatesContainer::containerWithHalcyonDelegate(&game));
        HCReachability::Instance()->setOverride(HCReachability::ReachableViaWiFi);
        ASSERT_TRUE(testsupport::runMainUntil([&] { return !game.calls.empty(); }));
        settle();
        answerGameCenter();
        settle();
    }

    // Waits until every request sent has been answered and its outcome
    // delivered on the main thread, with the requests those outcomes started.
    void settle()
    {
        auto provider = Halcyon::provider();
        ASSERT_TRUE(provider);
        for (int round = 0; round < 3; ++round) {
            ASSERT_TRUE(testsupport::runMainUntil(
                [&] { return provider->queuedActionCount() == 0 && provider->runningLoaderCount() == 0; }));
            bool passed = false;
            provider->requestThread()->runLoop()->post(
                [&passed] { platform::performOnMain([&passed] { passed = true; }); });
            ASSERT_TRUE(testsupport::runMainUntil([&] { return passed; }));
            testsupport::drainMain();
        }
    }
    // Waits until Game Center's thread has answered everything it was asked
    // so far and the answers have reached the main thread.
    void answerGameCenter()
    {
        bool passed = false;
        gc::GameCenterDevice::thread()->runLoop()->post(
            [&passed] { platform::performOnMain([&passed] { passed = true; }); });
        ASSERT_TRUE(testsupport::runMainUntil([&] { return passed; }));
        testsupport::drainMain();
    }

    std::vector<std::string> gameCenterAchievements() const
    {
        std::vector<std::string> reports;
        for (const auto& report : gc::GameCenterDevice::reportedAchievements()) {
            reports.push_back(report.identifier + "=" + std::to_string(static_cast<int>(report.percentComplete)));
        }
        return reports;
    }
    std::vector<std::string> gameCenterScores() const
    {
        std::vector<std::string> reports;
        for (const auto& report : gc::GameCenterDevice::reportedScores()) {
            reports.push_back(report.category + "=" + std::to_string(report.value));
        }
        return reports;
    }

    testsupport::TempDir sandbox;
    std::unique_ptr<testsupport::ScopedManualClock> clock;
    localserver::Server server;
    Game game;
};

TEST_F(GameCenterEndToEndTest, AMirroredAchievementEndsOnceWhenBothPartsHaveReportedInEitherOrder)
{
    start();
    ASSERT_TRUE(Halcyon::isLoggedIntoGameCenter());
    struct Case {
        const char* name;
        bool gameCenterFirst;
        bool gameCenterOk;
        bool serviceOk;
        const char* outcome;
    };
    const Case cases[] = {
        {"service first", false, true, true, "success"},   {"Game Center first", true, true, true, "success"},
        {"Game Center fails", true, false, true, "failure"}, {"service fails", false, true, false, "failure"},
        {"both fail", true, false, false, "failure"},
    };
    double percent = 10;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        percent += 5;
        std::vector<std::string> outcomes;
        auto submission = std::make_shared<HCGameCenterAchievement>(
            defaults::kUserId, std::vector<std::string>{"1", "4"}, std::vector<double>{percent, percent}, false, false);
        gc::GameCenterDevice::setFailure(gc::Call::ReportAchievement,
                                         c.gameCenterOk ? std::nullopt : std::optional<gc::Error>(gc::Error{3, "no"}));
        if (!c.serviceOk) server.faults().injectFor("POST", kUnlockPath, localserver::Fault::reply(503));
        // Game Center first: the request thread is held until Game Center has
        // answered. Service first: Game Center answers a clock second late.
        std::promise<void> release;
        if (c.gameCenterFirst) {
            Halcyon::provider()->requestThread()->runLoop()->post(
                [held = release.get_future().share()] { held.wait(); });
        } else {
            gc::GameCenterDevice::setDelay(gc::Call::ReportAchievement, 1);
        }
        ASSERT_TRUE(submission->submitOnSuccess(
            HCDelegate::withFunction([&](const platform::ObjectPtr&) { outcomes.push_back("success"); }),
            HCDelegate::withFunction([&](const platform::ObjectPtr&) { outcomes.push_back("failure"); })));
        submission = nullptr;
        if (c.gameCenterFirst) {
            answerGameCenter();
            EXPECT_TRUE(outcomes.empty()) << "the service has not answered";
            release.set_value();
            settle();
        } else {
            settle();
            EXPECT_TRUE(outcomes.empty()) << "Game Center has not answered";
            clock->advance(1);
            ASSERT_TRUE(testsupport::runMainUntil([&] { return !outcomes.empty(); }));
            answerGameCenter();
        }
        EXPECT_EQ(outcomes, std::vector<std::string>{c.outcome});
        gc::GameCenterDevice::setDelay(gc::Call::ReportAchievement, 0);
    }
    // Only the mapped achievement went to Game Center, once per submission
    // (the failed reports were not taken).
    EXPECT_EQ(gameCenterAchievements(), (std::vector<std::string>{"gc.1=15", "gc.1=20", "gc.1=30"}));

    // A request the provider never answers still ends the submission, once.
    auto stopped = HCProvider::providerWithProductKey(defaults::kProductKey, defaults::kProductSecret);
    stopped->cleanupRequestThread();
    auto live = Halcyon::provider();
    HCService::setProvider(stopped);
    std::vector<std::string> outcomes;
    std::make_shared<HCGameCenterAchievement>(defaults::kUserId, std::vector<std::string>{"1"},
                                              std::vector<double>{50}, false, false)
        ->submitOnSuccess(HCDelegate::withFunction([&](const platform::ObjectPtr&) { outcomes.push_back("success"); }),
                          HCDelegate::withFunction([&](const platform::ObjectPtr&) { outcomes.push_back("failure"); }));
    answerGameCenter();
    EXPECT_EQ(outcomes, std::vector<std::string>{"failure"});
    HCService::setProvider(live);

    // A request the provider took and then dropped or cancelled before it
    // left: its callbacks go unused, and the submission still ends, once.
    for (const bool cancelled : {false, true}) {
        SCOPED_TRACE(cancelled ? "cancelled" : "dropped");
        outcomes.clear();
        std::promise<void> release;
        live->requestThread()->runLoop()->post([held = release.get_future().share()] { held.wait(); });
        auto handle = std::make_shared<HCGameCenterAchievement>(defaults::kUserId, std::vector<std::string>{"1"},
                                                                std::vector<double>{cancelled ? 70.0 : 60.0}, false,
                                                                false)
                          ->submitOnSuccess(HCDelegate::withFunction(
                                                [&](const platform::ObjectPtr&) { outcomes.push_back("success"); }),
                                            HCDelegate::withFunction(
                                                [&](const platform::ObjectPtr&) { outcomes.push_back("failure"); }));
        ASSERT_TRUE(handle);
        if (cancelled) {
            handle->cancel();
        } else {
            live->destroyAllPendingRequests();
        }
        release.set_value();
        settle();
        answerGameCenter();
        EXPECT_EQ(outcomes, std::vector<std::string>{"failure"});
    }
}

// A caller's callback with its own argument and thread.
class Caller final : public platform::Object {
public:
    void answered(std::shared_ptr<platform::Object>, std::shared_ptr<platform::String> tag)
    {
        std::lock_guard lock(mutex);
        heard.push_back((tag ? tag->value() : "(nil)") + (platform::Thread::current() == expected ? "" : " elsewhere"));
    }
    std::vector<std::string> answers()
    {
        std::lock_guard lock(mutex);
        return heard;
    }
    platform::ThreadPtr expected;
    std::mutex mutex;
    std::vector<std::string> heard;
};

TEST_F(GameCenterEndToEndTest, GameCenterOnlyAchievementsAnswerThroughTheCallbacksTheyWereGiven)
{
    start();
    auto worker = platform::Thread::start("caller");
    auto caller = std::make_shared<Caller>();
    caller->expected = worker;
    auto callback = [&](const char* tag) {
        return HCDelegate(caller, &Caller::answered, platform::String::make(tag), worker);
    };
    std::make_shared<HCSubmitAchievementToGameCenterOnly>()->submitToGameCenterOnlyWithIds(
        {"1", "2"}, {50, 60}, callback("reported"), callback("refused"));
    // An id with no Game Center counterpart fails at once, and only once.
    std::make_shared<HCSubmitAchievementToGameCenterOnly>()->submitToGameCenterOnlyWithIds(
        {"9", "3"}, {50, 60}, callback("reported"), callback("unmapped"));
    answerGameCenter();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return caller->answers().size() == 2; }));
    auto answers = caller->answers();
    std::sort(answers.begin(), answers.end());
    EXPECT_EQ(answers, (std::vector<std::string>{"reported", "unmapped"}));
    EXPECT_EQ(gameCenterAchievements(), (std::vector<std::string>{"gc.1=50", "gc.2=60", "gc.3=60"}));
    worker->cancel();
}

TEST_F(GameCenterEndToEndTest, AMirroredScoreReachesBothAndWaitsForGameCenter)
{
    start();
    const double reportedAt = clock->now();
    gc::GameCenterDevice::setDelay(gc::Call::ReportScore, 1);
    std::vector<std::string> outcomes;
    auto submit = [&](std::int64_t value) {
        HCHighScoreBatch batch{
            std::make_shared<HCHighScoreBatchEntry>(std::string("1"), value, std::nullopt, std::nullopt, nullptr)};
        HCHighScoreService::batchSetHighScores(
            &batch, true,
            HCDelegate::withFunction(
                [&](const platform::ObjectPtr& reply) { outcomes.push_back(reply ? "series" : "nil"); }),
            HCDelegate::withFunction([&](const platform::ObjectPtr&) { outcomes.push_back("failure"); }),
            std::nullopt);
    };
    submit(700);
    settle();
    EXPECT_TRUE(outcomes.empty()) << "Game Center has not answered";
    clock->advance(1);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !outcomes.empty(); }));
    EXPECT_EQ(outcomes, std::vector<std::string>{"nil"}) << "Game Center answered last";
    EXPECT_EQ(gameCenterScores(), std::vector<std::string>{"gc.high=700"});
    // The service keeps the Game Center report's second, so the merged
    // page can tell the two apart.
    std::vector<std::string> sentTimes;
    for (const auto& entry : server.log().entries()) {
        if (entry.request.path != HCHighScoreService::kSubmitPath) continue;
        sentTimes = localserver::allValues(entry.request.params, "high_scores[][gamecenter_timestamp]");
    }
    EXPECT_EQ(sentTimes, std::vector<std::string>{std::to_string(static_cast<long long>(reportedAt))});

    gc::GameCenterDevice::setDelay(gc::Call::ReportScore, 0);
    gc::GameCenterDevice::setFailure(gc::Call::ReportScore, gc::Error{3, "no"});
    outcomes.clear();
    submit(800);
    settle();
    answerGameCenter();
    EXPECT_EQ(outcomes, std::vector<std::string>{"failure"});
}

TEST_F(GameCenterEndToEndTest, TheFirstSignInSendsTheLocalBestsOfTheMappedBoardsAndAchievementsOnce)
{
    // Played first while signed out of Game Center: the service alone hears.
    gc::GameCenterDevice::setPlayer(std::nullopt);
    start();
    ASSERT_FALSE(Halcyon::isLoggedIntoGameCenter());
    auto noop = HCDelegate();
    HCHighScoreService::setHighScore(500, std::string("1"), true, noop, noop);
    HCHighScoreService::setHighScore(42, std::string("2"), true, noop, noop);
    clock->advance(HCHighScoreService::kDispatchDelaySeconds);
    testsupport::drainMain();
    std::make_shared<HCGameCenterAchievement>(defaults::kUserId, std::vector<std::string>{"2", "4"},
                                              std::vector<double>{20, 30}, false, false)
        ->submitOnSuccess(noop, noop);
    settle();
    EXPECT_TRUE(gameCenterScores().empty());
    EXPECT_TRUE(gameCenterAchievements().empty());
    EXPECT_FALSE(Halcyon::isSynchedWithGameCenterLeaderboards());
    EXPECT_FALSE(Halcyon::isSynchedWithGameCenterAchievements());

    // The next launch is signed in: each mapped board's local best and each
    // mapped achievement above 0 % go to Game Center, under its ids.
    Halcyon::shutdown();
    testsupport::drainMain();
    game.calls.clear();
    gc::GameCenterDevice::setPlayer("G:1");
    start();
    ASSERT_TRUE(Halcyon::isLoggedIntoGameCenter());
    auto scores = gameCenterScores();
    std::sort(scores.begin(), scores.end());
    EXPECT_EQ(scores, (std::vector<std::string>{"gc.high=500", "gc.moves=42"}));
    EXPECT_EQ(gameCenterAchievements(), std::vector<std::string>{"gc.2=20"});
    EXPECT_TRUE(Halcyon::isSynchedWithGameCenterLeaderboards());
    EXPECT_TRUE(Halcyon::isSynchedWithGameCenterAchievements());

    // Once: the launch after that sends nothing again.
    Halcyon::shutdown();
    testsupport::drainMain();
    game.calls.clear();
    start();
    EXPECT_EQ(gc::GameCenterDevice::reportedScores().size(), 2u);
    EXPECT_EQ(gameCenterAchievements().size(), 1u);
}

}  // namespace

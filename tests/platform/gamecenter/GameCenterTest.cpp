#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/ProgrammingError.h"
#include "platform/gamecenter/GameCenter.h"
#include "support/TestSupport.h"

namespace {

using namespace platform::gamecenter;

class GameCenterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::DeviceFacts::setSystemVersion("4.2");
        GameCenterDevice::reset();
    }
    void TearDown() override
    {
        GameCenterDevice::reset();
        platform::DeviceFacts::setSystemVersion("4.2");
    }

    // Waits for a handler that runs on Game Center's thread.
    static bool waitFor(const std::atomic<bool>& flag) { return testsupport::runMainUntil([&] { return flag.load(); }); }

    void signIn(const std::string& player)
    {
        GameCenterDevice::setPlayer(player);
        std::atomic<bool> done{false};
        LocalPlayer::localPlayer().authenticateWithCompletionHandler([&](const auto&) { done = true; });
        ASSERT_TRUE(waitFor(done));
    }

    testsupport::ScopedManualClock clock;
};

TEST_F(GameCenterTest, HandlersRunOnGameCenterThreadAndReauthenticationRunsTheHandlerAgain)
{
    GameCenterDevice::setPlayer(std::nullopt);
    std::atomic<int> answers{0};
    std::mutex mutex;
    std::vector<std::optional<Error>> errors;
    bool onGameCenterThread = true;
    LocalPlayer::localPlayer().authenticateWithCompletionHandler([&](const std::optional<Error>& error) {
        std::lock_guard lock(mutex);
        onGameCenterThread = onGameCenterThread && GameCenterDevice::thread()->isCurrent();
        errors.push_back(error);
        ++answers;
    });
    ASSERT_TRUE(testsupport::runMainUntil([&] { return answers == 1; }));
    EXPECT_FALSE(LocalPlayer::localPlayer().isAuthenticated());

    GameCenterDevice::setPlayer("G:1");
    GameCenterDevice::reauthenticate();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return answers == 2; }));
    std::lock_guard lock(mutex);
    EXPECT_TRUE(onGameCenterThread);
    EXPECT_TRUE(errors[0].has_value());
    EXPECT_FALSE(errors[1].has_value());
    EXPECT_EQ(LocalPlayer::localPlayer().playerID(), "G:1");
}

TEST_F(GameCenterTest, FailuresDelaysAndDroppedCallsFollowTheSetUp)
{
    signIn("G:1");
    GameCenterDevice::setDelay(Call::ReportScore, 5);
    std::atomic<bool> reported{false};
    Score score("board");
    score.setValue(70);
    score.reportScoreWithCompletionHandler([&](const auto& error) { reported = !error; });
    testsupport::drainMain();
    EXPECT_FALSE(reported.load());
    clock.advance(5);
    ASSERT_TRUE(waitFor(reported));
    ASSERT_EQ(GameCenterDevice::reportedScores().size(), 1u);
    EXPECT_EQ(GameCenterDevice::reportedScores()[0].value, 70);

    GameCenterDevice::setFailure(Call::ReportAchievement, Error{3, "down"});
    std::atomic<bool> failed{false};
    Achievement("ach", 50).reportAchievementWithCompletionHandler([&](const auto& error) {
        failed = error && error->code == 3;
    });
    ASSERT_TRUE(waitFor(failed));
    EXPECT_TRUE(GameCenterDevice::reportedAchievements().empty());

    GameCenterDevice::setDropped(Call::LoadFriends, true);
    std::atomic<bool> answered{false};
    LocalPlayer::localPlayer().loadFriendsWithCompletionHandler([&](const auto&, const auto&) { answered = true; });
    clock.advance(3600);
    testsupport::drainMain();
    EXPECT_FALSE(answered.load());
}

TEST_F(GameCenterTest, LeaderboardRanksEachPlayersBestInScopeAndRange)
{
    signIn("me");
    const double now = clock.now();
    GameCenterDevice::setFriends({"friend"});
    GameCenterDevice::addScore({"board", "friend", 40, now});
    GameCenterDevice::addScore({"board", "friend", 90, now - 3 * 86400});  // this week, not today
    GameCenterDevice::addScore({"board", "stranger", 60, now});
    GameCenterDevice::addScore({"board", "me", 50, now});
    GameCenterDevice::addScore({"other", "me", 1000, now});
    GameCenterDevice::setDelay(Call::LoadScores, 1);

    auto load = [this](int timeScope, int playerScope, int location, int length) {
        auto board = std::make_shared<Leaderboard>();
        board->category = "board";
        board->timeScope = timeScope;
        board->playerScope = playerScope;
        board->rangeLocation = location;
        board->rangeLength = length;
        std::atomic<bool> done{false};
        board->loadScoresWithCompletionHandler([&](const auto&, const auto&) { done = true; });
        EXPECT_TRUE(board->isLoading());
        clock.advance(1);
        EXPECT_TRUE(testsupport::runMainUntil([&] { return done.load(); }));
        EXPECT_FALSE(board->isLoading());
        std::vector<std::string> out;
        for (const auto& s : board->scores()) out.push_back(std::to_string(s->rank()) + ":" + s->playerID() + "=" + s->formattedValue());
        return out;
    };
    EXPECT_EQ(load(2, 0, 1, 25), (std::vector<std::string>{"1:friend=90", "2:stranger=60", "3:me=50"}));
    EXPECT_EQ(load(0, 0, 1, 25), (std::vector<std::string>{"1:stranger=60", "2:me=50", "3:friend=40"}));
    EXPECT_EQ(load(1, 1, 1, 25), (std::vector<std::string>{"1:friend=90", "2:me=50"}));
    EXPECT_EQ(load(2, 0, 2, 1), (std::vector<std::string>{"2:stranger=60"}));
    GameCenterDevice::setAscending("board");
    EXPECT_EQ(load(2, 0, 1, 1), (std::vector<std::string>{"1:friend=40"}));
}

TEST_F(GameCenterTest, VersionGateRefusesCallsBeforeFourOneAndMainThreadReportsBeforeFourTwo)
{
    std::vector<std::string> reports;
    platform::setProgrammingErrorHandler([&](const std::string& text) { reports.push_back(text); });
    platform::DeviceFacts::setSystemVersion("4.0.2");
    EXPECT_FALSE(GameCenterDevice::isAvailable());
    LocalPlayer::localPlayer().authenticateWithCompletionHandler(nullptr);
    ASSERT_EQ(reports.size(), 1u);

    platform::DeviceFacts::setSystemVersion("4.1");
    signIn("me");
    Score("board").reportScoreWithCompletionHandler(nullptr);  // main thread, below 4.2
    EXPECT_EQ(reports.size(), 2u);
    std::atomic<bool> done{false};
    auto background = platform::Thread::start("reporter");
    background->runLoop()->post([&] {
        Score("board").reportScoreWithCompletionHandler([&](const auto& error) { done = !error; });
    });
    ASSERT_TRUE(waitFor(done));
    EXPECT_FALSE(GameCenterDevice::reportedScores().at(0).fromMainThread);
    EXPECT_EQ(reports.size(), 2u);
    platform::setProgrammingErrorHandler(nullptr);

    platform::DeviceFacts::setSystemVersion("4.10");  // numeric: later than 4.2
    EXPECT_FALSE(GameCenterDevice::requiresBackgroundReports());
}

}  // namespace

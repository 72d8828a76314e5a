// Score submission against the local server: the batch's timing and wire
// form, blobs at the size limit, offline scores sent after the log-in, and
// every way a batch can end (5xx, dropped connection, dropped request,
// refused local write) without a score posted twice or left behind.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <atomic>

#include "core/banners/HCNotification.h"
#include "core/clientstate/HCClientState.h"
#include "core/halcyon/Halcyon.h"
#include "core/storage/HCBlobObserverHooks.h"
#include "core/storage/HCCloudStorageService.h"
#include "e2e/support/LiveServerTest.h"
#include "localserver/routes/ScoreRoutes.h"
#include "localserver/routes/StorageRoutes.h"
#include "scores/highscores/HCHighScore.h"
#include "scores/highscores/HCHighScoreGameCenter.h"
#include "scores/highscores/HCHighScoreService.h"
#include "support/LocalScoreTable.h"
#include "support/RequestThreadGate.h"
#include "transport/provider/HCProvider.h"

namespace {

constexpr const char* kPath = "client_applications/@me/high_scores.xml";

class HighScoreSubmissionTest : public LiveServerTest {
protected:
    void SetUp() override
    {
        LiveServerTest::SetUp();
        bucket = localserver::registerStorageRoutes(*server);
        scores = localserver::registerScoreRoutes(*server, bucket);
        const std::string file = sandbox.str() + "/halcyon_offline";
        ASSERT_TRUE(mainDb.open(file));
        ASSERT_TRUE(bootstrapDb.open(file));
        ASSERT_TRUE(scoretest::exec(mainDb.handle(), "PRAGMA journal_mode=WAL"));
        ASSERT_TRUE(scoretest::exec(mainDb.handle(), scoretest::kCreateHighScores));
        boards = std::make_shared<scoretest::FakeLeaderboards>();
        boards->boards["1"] = {true, false, false};
        boards->boards["2"] = {true, true, false};
        boards->boards["3"] = {false, false, false};
        HCHighScoreService::initializeService();
        HCHighScoreService::setupOfflineSupport({mainDb.handle(), boards, bootstrapDb.handle(), boards});
        HCBlobObserverHooks::install();
        HCCloudStorageService::initializeService();
        HCClientStateQueries queries;
        queries.lastLoggedInUserId = [this] { return userId; };
        queries.isOnline = [this] { return online.load(); };
        HCClientState::setQueries(queries);
        Halcyon::setUserApprovedHalcyon();
    }
    void TearDown() override
    {
        HCHighScoreService::teardownOfflineSupport();
        HCHighScoreService::shutdownService();
        HCCloudStorageService::shutdownService();
        HCBlobObserverHooks::remove();
        HCClientState::setQueries({});
        LiveServerTest::TearDown();
    }

    std::vector<localserver::LoggedRequest> posts() const
    {
        std::vector<localserver::LoggedRequest> found;
        for (auto& entry : server->log().entries()) {
            if (entry.request.path == kPath) {
                found.push_back(entry);
            }
        }
        return found;
    }
    std::size_t pendingCount()
    {
        std::size_t pending = 0;
        for (const auto& row : scoretest::rawRows(mainDb.handle())) {
            pending += row.serverSyncAt ? 0 : 1;
        }
        return pending;
    }
    HCDelegate count(int& counter)
    {
        return HCDelegate::withFunction([&counter](const platform::ObjectPtr&) { ++counter; });
    }
    // Waits until the posted batches have been answered and written back.
    void settleBatches()
    {
        fence();
        testsupport::drainMain();
    }
    // `count` pending rows of player 1001, on boards first, first + 1, ...
    // (descending), stored in that order, each with `customData` when given.
    void seedPending(int count, int first, const std::optional<std::string>& customData = std::nullopt)
    {
        for (int i = 0; i < count; ++i) boards->boards[std::to_string(first + i)] = {true, false, false};
        const std::string data = customData ? "'" + *customData + "'" : "NULL";
        ASSERT_TRUE(scoretest::exec(mainDb.handle(),
                                    "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                                        std::to_string(count - 1) +
                                        ") INSERT INTO high_scores (user_id, leaderboard_id, score, custom_data) "
                                        "SELECT 1001, " + std::to_string(first) + " + i, 10 + i, " + data + " FROM n"));
    }
    // A log-in's re-send of player 1001's pending scores, run to its end:
    // which of its callbacks were called, how often.
    struct ResendEnd {
        int sent = 0;
        int failed = 0;
    };
    ResendEnd resendToTheEnd()
    {
        auto end = std::make_shared<ResendEnd>();
        EXPECT_TRUE(HCHighScoreService::sendPendingHighScores(
            "1001", true, HCDelegate::withFunction([end](const platform::ObjectPtr&) { ++end->sent; }),
            HCDelegate::withFunction([end](const platform::ObjectPtr&) { ++end->failed; })));
        EXPECT_TRUE(testsupport::runMainUntil([&] { return end->sent + end->failed > 0; }));
        settleBatches();
        return *end;
    }
    // The boards of every entry posted so far, batch by batch.
    std::vector<std::vector<std::string>> postedBoards() const
    {
        std::vector<std::vector<std::string>> batches;
        for (const auto& post : posts()) {
            batches.push_back(localserver::allValues(post.request.params, "high_scores[][leaderboard_id]"));
        }
        return batches;
    }

    testsupport::ScopedManualClock clock{1700000000.0};
    std::shared_ptr<localserver::ScoreStore> scores;
    std::shared_ptr<localserver::StorageBucket> bucket;
    HCSqlDatabase mainDb;
    HCSqlDatabase bootstrapDb;
    std::shared_ptr<scoretest::FakeLeaderboards> boards;
    std::optional<std::string> userId = std::string("1001");
    std::atomic<bool> online{true};
    // The texts of the banners shown so far.
    std::vector<std::string> banners()
    {
        testsupport::drainMain();
        std::vector<std::string> texts;
        for (const auto& banner : window->shown) texts.push_back(testsupport::BannerWindow::textOf(banner));
        return texts;
    }
};

TEST_F(HighScoreSubmissionTest, ScoresTravelInOneBatchPostedAfterTheLastSubmission)
{
    int answered = 0;
    HCHighScoreService::setHighScoreWithDisplayText(500, "500 points", "1", false, count(answered), HCDelegate());
    testsupport::drainMain();
    clock.advance(0.04);
    HCHighScoreService::setHighScoreWithDisplayText(70, std::nullopt, "tag", "3", true, count(answered), HCDelegate());
    testsupport::drainMain();
    clock.advance(0.04);
    HCHighScoreService::setHighScore(-3, "2", count(answered), HCDelegate());
    testsupport::drainMain();
    // Every caller knows its score is stored before anything is posted.
    EXPECT_EQ(answered, 3);
    clock.advance(0.049);
    testsupport::drainMain();
    EXPECT_TRUE(posts().empty());
    clock.advance(0.002);
    testsupport::drainMain();
    settleBatches();

    auto sent = posts();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].request.params,
              (localserver::Params{{"high_scores[][leaderboard_id]", "1"},
                                   {"high_scores[][score]", "500"},
                                   {"high_scores[][display_text]", "500 points"},
                                   {"high_scores[][has_blob]", "0"},
                                   {"high_scores[][leaderboard_id]", "3"},
                                   {"high_scores[][score]", "70"},
                                   {"high_scores[][custom_data]", "tag"},
                                   {"high_scores[][has_blob]", "0"},
                                   {"high_scores[][leaderboard_id]", "2"},
                                   {"high_scores[][score]", "-3"},
                                   {"high_scores[][has_blob]", "0"}}));
    EXPECT_EQ(scores->all().size(), 3u);
    EXPECT_EQ(pendingCount(), 0u);
    // The banner waits for the confirmation; the silent score adds none.
    EXPECT_EQ(banners(), (std::vector<std::string>{"New high score!"}));
}

TEST_F(HighScoreSubmissionTest, OnlyBlobsThatWillBeUploadedAreAnnounced)
{
    auto largest = platform::Data::make(testsupport::incompressibleBytes(51200, 1));
    auto tooLarge = platform::Data::make(testsupport::incompressibleBytes(51201, 2));
    HCHighScoreService::setHighScoreWithDisplayText(10, std::nullopt, std::nullopt, largest, "1", true, false,
                                                    HCDelegate(), HCDelegate());
    HCHighScoreService::setHighScoreWithDisplayText(20, std::nullopt, std::nullopt, tooLarge, "2", true, false,
                                                    HCDelegate(), HCDelegate());
    clock.advance(0.05);
    testsupport::drainMain();
    settleBatches();

    auto sent = posts();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(localserver::allValues(sent[0].request.params, "high_scores[][has_blob]"),
              (std::vector<std::string>{"1", "0"}));
    EXPECT_TRUE(scores->find("1001", "1", 10)->hasBlob);
    // Confirmed once the wanted attachment is stored, and each row still
    // holds its attachment; the reply let the held blob go.
    EXPECT_TRUE(testsupport::runMainUntil([&] { return pendingCount() == 0; }));
    EXPECT_TRUE(bucket->object("high_score-" + scores->find("1001", "1", 10)->id + ".blob"));
    for (const auto& row : scoretest::rawRows(mainDb.handle())) {
        EXPECT_EQ(row.blobBytes, row.score == 10 ? 51200u : 51201u);
    }
    EXPECT_FALSE(HCHighScoreService::getPendingBlobForLeaderboard("1", 10));
}

TEST_F(HighScoreSubmissionTest, OfflineScoresAreSentOnceAfterTheLogIn)
{
    online = false;
    userId.reset();  // nobody has logged in yet
    int stored = 0;
    HCHighScoreService::setHighScore(500, "1", count(stored), HCDelegate());
    userId = "NaN";  // no player either: kept for the next one to log in
    HCHighScoreService::setHighScore(550, "1", true, count(stored), HCDelegate());
    userId = "1001";
    HCHighScoreService::setHighScore(400, "1", count(stored), HCDelegate());
    HCHighScoreService::setHighScore(600, "1", count(stored), HCDelegate());
    HCHighScoreService::setHighScore(30, "3", true, count(stored), HCDelegate());
    clock.advance(3 * 24 * 3600.0);
    testsupport::drainMain();
    EXPECT_EQ(stored, 5);
    EXPECT_TRUE(posts().empty());
    // 400 is the first score of player 1001 (500 was stored for nobody).
    EXPECT_EQ(banners(), std::vector<std::string>(3, "New high score! Saving locally."));
    // Offline, or for no user, the re-send does nothing.
    EXPECT_FALSE(HCHighScoreService::sendPendingHighScores("1001", true, HCDelegate(), HCDelegate()));
    online = true;
    EXPECT_FALSE(HCHighScoreService::sendPendingHighScores("Invalid", true, HCDelegate(), HCDelegate()));
    EXPECT_FALSE(HCHighScoreService::sendPendingHighScores("0", true, HCDelegate(), HCDelegate()));
    EXPECT_FALSE(HCHighScoreService::sendPendingHighScores("7abc", true, HCDelegate(), HCDelegate()));

    int sentOk = 0;
    EXPECT_TRUE(HCHighScoreService::sendPendingHighScores("1001", true, count(sentOk), HCDelegate()));
    // A second log-in check while the batch runs posts nothing more.
    EXPECT_FALSE(HCHighScoreService::sendPendingHighScores("1001", true, HCDelegate(), HCDelegate()));
    settleBatches();
    EXPECT_EQ(sentOk, 1);
    ASSERT_EQ(posts().size(), 1u);
    EXPECT_EQ(scores->all().size(), 2u);
    EXPECT_TRUE(scores->find("1001", "1", 600));
    EXPECT_TRUE(scores->find("1001", "3", 30));
    EXPECT_EQ(pendingCount(), 0u);
    for (const auto& row : scoretest::rawRows(mainDb.handle())) EXPECT_EQ(row.userId, "1001") << row.score;
    EXPECT_FALSE(HCHighScoreService::sendPendingHighScores("1001", true, HCDelegate(), HCDelegate()));
}

TEST_F(HighScoreSubmissionTest, OnlyTheScoresABatchPostedAreConfirmedByItsReply)
{
    // The reply names numbers that do not read, a score and a board the
    // batch did not post, and the posted score for a player id that is not
    // one.
    auto entry = [](const std::string& score, const std::string& board, const std::string& user) {
        return "<high_score><id>9</id><score>" + score + "</score><leaderboard_id>" + board +
               "</leaderboard_id><user><id>" + user + "</id></user></high_score>";
    };
    const std::string reply = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><resources>" +
                              entry("9223372036854775808", "1", "1001") + entry("1e308", "1", "1001") +
                              entry("NaN", "1", "1001") + entry("450", "1", "1001") + entry("500", "3", "1001") +
                              entry("500", "1", "NaN") + "</resources>";
    server->faults().injectFor("POST", kPath, localserver::Fault::reply(200, reply, "application/xml"));
    HCHighScoreService::setHighScore(500, "1", true, HCDelegate(), HCDelegate());
    clock.advance(0.05);
    testsupport::drainMain();
    settleBatches();
    ASSERT_EQ(posts().size(), 1u);
    auto rows = scoretest::rawRows(mainDb.handle());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].userId, "1001");
    EXPECT_EQ(rows[0].score, 500);
    EXPECT_FALSE(rows[0].serverSyncAt);

    // The next real best is sent, and the server's own answer confirms it.
    HCHighScoreService::setHighScore(600, "1", true, HCDelegate(), HCDelegate());
    clock.advance(0.05);
    testsupport::drainMain();
    settleBatches();
    ASSERT_EQ(posts().size(), 2u);
    EXPECT_EQ(localserver::allValues(posts()[1].request.params, "high_scores[][score]"),
              (std::vector<std::string>{"600"}));
    EXPECT_EQ(pendingCount(), 0u);
}

TEST_F(HighScoreSubmissionTest, EveryFailedBatchEndsOnceAndLeavesItsScoresPending)
{
    online = false;
    HCHighScoreService::setHighScore(900, "1", HCDelegate(), HCDelegate());
    online = true;

    int failures = 0;
    server->faults().injectFor("POST", kPath, localserver::Fault::reply(503));
    EXPECT_TRUE(HCHighScoreService::sendPendingHighScores("1001", true, HCDelegate(), count(failures)));
    settleBatches();
    server->faults().injectFor("POST", kPath, localserver::Fault::dropConnection());
    EXPECT_TRUE(HCHighScoreService::sendPendingHighScores("1001", true, HCDelegate(), count(failures)));
    settleBatches();
    EXPECT_EQ(failures, 2);
    EXPECT_EQ(pendingCount(), 1u);
    EXPECT_TRUE(scores->all().empty());

    // A provider that drops the request: the batch still ends, with failure,
    // and the score is not left marked as in flight.
    auto stopped = HCProvider::providerWithProductKey(localserver::defaults::kProductKey,
                                                      localserver::defaults::kProductSecret);
    stopped->cleanupRequestThread();
    HCService::setProvider(stopped);
    EXPECT_FALSE(HCHighScoreService::sendPendingHighScores("1001", true, HCDelegate(), count(failures)));
    testsupport::drainMain();
    EXPECT_EQ(failures, 3);
    EXPECT_FALSE(HCHighScoreService::sharedInstance()->isInFlight("1001", "1", 900));
    HCService::setProvider(provider);

    int successes = 0;
    EXPECT_TRUE(HCHighScoreService::sendPendingHighScores("1001", true, count(successes), HCDelegate()));
    settleBatches();
    EXPECT_EQ(successes, 1);
    EXPECT_EQ(pendingCount(), 0u);
    EXPECT_EQ(scores->find("1001", "1", 900)->posts, 1);
}

TEST_F(HighScoreSubmissionTest, AQueuedScoreIsNotPostedAgainByTheResend)
{
    HCHighScoreService::setHighScore(700, "1", HCDelegate(), HCDelegate());
    EXPECT_FALSE(HCHighScoreService::sendPendingHighScores("1001", true, HCDelegate(), HCDelegate()));
    clock.advance(0.05);
    testsupport::drainMain();
    EXPECT_FALSE(HCHighScoreService::sendPendingHighScores("1001", true, HCDelegate(), HCDelegate()));
    settleBatches();
    ASSERT_EQ(posts().size(), 1u);
    EXPECT_EQ(scores->find("1001", "1", 700)->posts, 1);
}

TEST_F(HighScoreSubmissionTest, ScoresQueuedForAPlayerWhoLeftWaitForThatPlayer)
{
    // Ann's score is queued, then Ben logs in before the batch leaves: it
    // must not go out signed as Ben's.
    HCHighScoreService::setHighScore(300, "1", true, HCDelegate(), HCDelegate());
    userId = "1002";
    useProvider(localserver::defaults::kProductSecret, localserver::defaults::kOtherUserToken,
                localserver::defaults::kOtherUserTokenSecret);
    clock.advance(0.05);
    testsupport::drainMain();
    // Ben's own score, queued after Ann's is dropped from the queue.
    HCHighScoreService::setHighScore(200, "1", true, HCDelegate(), HCDelegate());
    EXPECT_FALSE(HCHighScoreService::sharedInstance()->isInFlight("1001", "1", 300));
    clock.advance(0.05);
    testsupport::drainMain();
    settleBatches();
    ASSERT_EQ(posts().size(), 1u);
    EXPECT_EQ(localserver::allValues(posts()[0].request.params, "high_scores[][score]"),
              (std::vector<std::string>{"200"}));
    EXPECT_TRUE(scores->find("1002", "1", 200));
    // Ann's score is still pending for her next log-in.
    EXPECT_EQ(pendingCount(), 1u);
}

int commitCounter(void* counter)
{
    ++*static_cast<int*>(counter);
    return 0;
}

TEST_F(HighScoreSubmissionTest, AReplysConfirmationsAreWrittenBackInOneCommit)
{
    seedPending(1000, 100);
    int commits = 0;
    sqlite3_commit_hook(mainDb.handle(), commitCounter, &commits);
    int sent = 0;
    ASSERT_TRUE(HCHighScoreService::sendPendingHighScores("1001", true, count(sent), HCDelegate()));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return sent == 1; }));
    sqlite3_commit_hook(mainDb.handle(), nullptr, nullptr);
    EXPECT_EQ(posts().size(), 1u);
    EXPECT_EQ(scores->all().size(), 1000u);
    EXPECT_EQ(pendingCount(), 0u);
    EXPECT_EQ(commits, 1) << "one durable write for the whole reply";
}

TEST_F(HighScoreSubmissionTest, ManyPendingScoresGoInBoundedBatchesInOrderEachConfirmedBeforeTheNext)
{
    // Three rows whose texts fill most of a batch's share, then 2,300 plain ones.
    seedPending(3, 100, std::string(100 * 1024, 'x'));
    seedPending(2300, 1000);
    int sent = 0;
    int failed = 0;
    ASSERT_TRUE(HCHighScoreService::sendPendingHighScores("1001", true, count(sent), count(failed)));
    // A second log-in while the batches run posts nothing of its own.
    EXPECT_FALSE(HCHighScoreService::sendPendingHighScores("1001", true, count(sent), count(failed)));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return sent + failed > 0; }));
    testsupport::drainMain();
    EXPECT_EQ(sent, 1) << "the caller hears the end of the whole re-send once";
    EXPECT_EQ(failed, 0);

    const auto batches = postedBoards();
    std::vector<std::size_t> sizes;
    std::vector<std::string> order;
    for (const auto& batch : batches) {
        sizes.push_back(batch.size());
        order.insert(order.end(), batch.begin(), batch.end());
    }
    // Two long texts fill a batch; then at most 1,000 entries each.
    EXPECT_EQ(sizes, (std::vector<std::size_t>{2, 1000, 1000, 301}));
    std::vector<std::string> stored;
    for (int board : {100, 101, 102}) stored.push_back(std::to_string(board));
    for (int board = 1000; board < 3300; ++board) stored.push_back(std::to_string(board));
    EXPECT_EQ(order, stored) << "in the order they were stored, each once";
    EXPECT_EQ(scores->all().size(), 2303u);
    EXPECT_EQ(scores->repostCount(), 0u);
    EXPECT_EQ(pendingCount(), 0u);
}

TEST_F(HighScoreSubmissionTest, AFailedBatchEndsTheResendAndLeavesTheRestForTheNextLogIn)
{
    seedPending(1500, 100);
    // The first batch is taken; the one after it fails.
    scores->setAcceptHook([this](const std::vector<localserver::StoredScore>&) {
        scores->setAcceptHook(nullptr);
        server->faults().injectFor("POST", kPath, localserver::Fault::reply(503), 1);
    });
    const auto failedOnce = resendToTheEnd();
    EXPECT_EQ(failedOnce.failed, 1);
    EXPECT_EQ(failedOnce.sent, 0);
    EXPECT_EQ(posts().size(), 2u);
    EXPECT_EQ(scores->all().size(), 1000u);
    EXPECT_EQ(pendingCount(), 500u) << "the first batch was confirmed on its own";

    const auto next = resendToTheEnd();
    EXPECT_EQ(next.sent, 1);
    EXPECT_EQ(next.failed, 0);
    ASSERT_EQ(posts().size(), 3u);
    EXPECT_EQ(postedBoards()[2].size(), 500u);
    EXPECT_EQ(scores->all().size(), 1500u);
    EXPECT_EQ(scores->repostCount(), 0u);
    EXPECT_EQ(pendingCount(), 0u);
}

TEST_F(HighScoreSubmissionTest, AReplyCutShortFailsTheBatchAndOneWithNoXmlEndsIt)
{
    online = false;
    HCHighScoreService::setHighScore(500, "1", true, HCDelegate(), HCDelegate());
    HCHighScoreService::setHighScore(30, "3", true, HCDelegate(), HCDelegate());
    online = true;
    // The first score's answer is whole; the reply stops inside the second.
    const std::string cut = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><resources><high_score><id>1</id><score>500"
                            "</score><leaderboard_id>1</leaderboard_id></high_score><high_score><id>2</id><sco";
    server->faults().injectFor("POST", kPath, localserver::Fault::reply(200, cut, "application/xml"));
    const auto end = resendToTheEnd();
    EXPECT_EQ(end.failed, 1);
    EXPECT_EQ(end.sent, 0);
    EXPECT_EQ(pendingCount(), 2u) << "both scores are posted again at the next log-in";

    // A body with no XML in it is the service taking the batch with nothing
    // to say: the batch ends in success, and as the reply confirms no score
    // by name both stay pending for the next log-in.
    server->faults().injectFor("POST", kPath, localserver::Fault::reply(200, "OK", "text/plain"));
    const auto taken = resendToTheEnd();
    EXPECT_EQ(taken.failed, 0);
    EXPECT_EQ(taken.sent, 1);
}

TEST_F(HighScoreSubmissionTest, ABatchFailsWhenAnyOfItsWritesFails)
{
    int failures = 0;
    HCHighScoreBatch batch{std::make_shared<HCHighScoreBatchEntry>("1", 50, std::nullopt, std::nullopt, nullptr),
                           std::make_shared<HCHighScoreBatchEntry>("77", 60, std::nullopt, std::nullopt, nullptr)};
    EXPECT_FALSE(HCHighScoreService::batchSetHighScores(&batch, true, HCDelegate(), count(failures), std::nullopt));
    HCHighScoreBatch unnamed{std::make_shared<HCHighScoreBatchEntry>("", 1, std::nullopt, std::nullopt, nullptr)};
    EXPECT_FALSE(HCHighScoreService::submitHighScoreBatch(&unnamed, true, HCDelegate(), count(failures), std::nullopt));
    testsupport::drainMain();
    EXPECT_EQ(failures, 2);
    fence();
    EXPECT_TRUE(posts().empty());

    // Read back: the stored score, ranked, best first.
    HCHighScoreService::setHighScore(80, "1", true, HCDelegate(), HCDelegate());
    auto local = HCHighScoreService::getHighScoresLocal("1");
    ASSERT_EQ(local.size(), 2u);
    EXPECT_EQ(local[0]->score(), 80);
    EXPECT_EQ(local[1]->rank(), 2);
    EXPECT_EQ(local[0]->displayText(), "80");
    std::shared_ptr<HCPaginatedSeries> page;
    HCHighScoreService::getLocalHighScores(
        "1", HCDelegate::withFunction([&](const platform::ObjectPtr& reply) { page = platform::as<HCPaginatedSeries>(reply); }),
        HCDelegate());
    testsupport::drainMain();
    ASSERT_TRUE(page);
    ASSERT_EQ(page->objects().size(), 2u);
    EXPECT_EQ(platform::as<HCHighScore>(page->objects()[1])->score(), 50);
}

}  // namespace

namespace {

// Game Center as the test decides: every board maps to "gc.<id>", and each
// report waits until the test answers it (or answers at once).
class FakeGameCenter final : public HCHighScoreGameCenter {
public:
    bool isLoggedIntoGameCenter() override { return true; }
    std::optional<std::string> gameCenterCategory(const std::string& leaderboardId) override
    {
        if (!mapsBoards) return std::nullopt;
        return "gc." + leaderboardId;
    }
    platform::DatePtr submitScore(std::int64_t value, const std::string&, std::function<void(bool)> done) override
    {
        reported.push_back(value);
        if (done && answerAtOnce) {
            platform::Thread::mainThread()->runLoop()->post([done] { done(true); });
        } else if (done) {
            waiting.push_back(std::move(done));
        }
        return platform::Date::dateWithTimeIntervalSince1970(1234567890.5);
    }
    bool isSynchedWithGameCenterLeaderboards() override { return synched; }
    void setSynchWithGameCenterLeaderboards(bool value) override { synched = value; }
    std::vector<std::string> mappedLeaderboardIds() override { return {"1"}; }

    void answer(bool ok)
    {
        auto answers = std::move(waiting);
        waiting.clear();
        for (auto& done : answers) done(ok);
    }

    bool answerAtOnce = true;
    bool mapsBoards = true;
    std::vector<std::int64_t> reported;
    std::vector<std::function<void(bool)>> waiting;
    bool synched = false;
};

TEST_F(HighScoreSubmissionTest, AMirroredBatchEndsOnceWhenBothPartsHaveReportedInEitherOrder)
{
    auto gameCenter = std::make_shared<FakeGameCenter>();
    gameCenter->answerAtOnce = false;
    HCHighScoreService::setGameCenter(gameCenter);
    struct Case {
        const char* name;
        bool gameCenterFirst;
        bool gameCenterOk;
        bool serviceOk;
        const char* outcome;
    };
    const Case cases[] = {
        {"service first", false, true, true, "success nil"},
        {"Game Center first", true, true, true, "success series"},
        {"Game Center fails", true, false, true, "failure"},
        {"service fails", false, true, false, "failure"},
        {"both fail", true, false, false, "failure"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> outcomes;
        auto success = HCDelegate::withFunction([&](const platform::ObjectPtr& reply) {
            outcomes.push_back(reply ? "success series" : "success nil");
        });
        auto failure = HCDelegate::withFunction([&](const platform::ObjectPtr&) { outcomes.push_back("failure"); });
        if (!c.serviceOk) server->faults().injectFor("POST", kPath, localserver::Fault::reply(503));
        HCHighScoreBatch batch{std::make_shared<HCHighScoreBatchEntry>(std::string("1"), 10, std::nullopt,
                                                                       std::nullopt, nullptr),
                               std::make_shared<HCHighScoreBatchEntry>(std::string("2"), 20, std::nullopt,
                                                                       std::nullopt, nullptr)};
        // Game Center answers first only while the POST cannot leave: a
        // loopback reply may otherwise be back before it.
        std::optional<testsupport::RequestThreadGate> gate;
        if (c.gameCenterFirst) gate.emplace(HCService::provider()->requestThread());
        ASSERT_TRUE(HCHighScoreService::batchSetHighScores(&batch, true, success, failure, std::nullopt, true));
        ASSERT_EQ(gameCenter->waiting.size(), 2u);
        if (c.gameCenterFirst) {
            gameCenter->answer(c.gameCenterOk);
            testsupport::drainMain();
            EXPECT_TRUE(outcomes.empty()) << "the POST is still under way";
            gate.reset();
            settleBatches();
        } else {
            settleBatches();
            EXPECT_TRUE(outcomes.empty()) << "Game Center has not answered";
            gameCenter->answer(c.gameCenterOk);
            testsupport::drainMain();
        }
        EXPECT_EQ(outcomes, std::vector<std::string>{c.outcome});
    }

    // Boards that map to no Game Center category: the reply series as soon as
    // the POST ends. Not silent, the POST shows the caller's message.
    gameCenter->mapsBoards = false;
    HCProviderHooks requestBanners;
    requestBanners.showBackgroundNoticeForLoader = [](const OAuthAPIRequestLoaderPtr& loader,
                                                      const platform::ObjectPtr& notice) {
        HCNotification::sharedInstance()->showBackgroundNoticeForLoader(loader, notice);
    };
    HCProvider::setHooks(requestBanners);
    std::vector<std::string> outcomes;
    HCHighScoreBatch unmapped{
        std::make_shared<HCHighScoreBatchEntry>(std::string("1"), 30, std::nullopt, std::nullopt, nullptr),
        std::make_shared<HCHighScoreBatchEntry>(std::string("2"), 40, std::nullopt, std::nullopt, nullptr)};
    ASSERT_TRUE(HCHighScoreService::batchSetHighScores(
        &unmapped,
        HCDelegate::withFunction([&](const platform::ObjectPtr& reply) { outcomes.push_back(reply ? "series" : "nil"); }),
        HCDelegate::withFunction([&](const platform::ObjectPtr&) { outcomes.push_back("failure"); }),
        std::string("Scores in")));
    EXPECT_TRUE(gameCenter->waiting.empty());
    // A request with a banner starts on the main thread.
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !outcomes.empty(); }));
    settleBatches();
    EXPECT_EQ(outcomes, std::vector<std::string>{"series"});
    EXPECT_EQ(banners(), std::vector<std::string>{"Scores in"});
    HCProvider::setHooks({});
    EXPECT_EQ(pendingCount(), 0u) << "stored, then confirmed by the reply";

    // A POST that the provider drops still ends the batch, once, with failure.
    auto stopped = HCProvider::providerWithProductKey(localserver::defaults::kProductKey,
                                                      localserver::defaults::kProductSecret);
    stopped->cleanupRequestThread();
    HCService::setProvider(stopped);
    int failures = 0;
    HCHighScoreBatch batch{
        std::make_shared<HCHighScoreBatchEntry>(std::string("1"), 11, std::nullopt, std::nullopt, nullptr)};
    HCHighScoreService::batchSetHighScores(&batch, true, HCDelegate(), count(failures), std::nullopt, true);
    gameCenter->answer(true);
    testsupport::drainMain();
    EXPECT_EQ(failures, 1);
    HCService::setProvider(provider);
    HCHighScoreService::setGameCenter(nullptr);
}

TEST_F(HighScoreSubmissionTest, DeferredScoresWaitAndGameCenterGetsEachScoreOnce)
{
    // Deferred while online: stored, not queued, its banner armed for the
    // next reply.
    int stored = 0;
    HCHighScoreService::setHighScoreWithDisplayText(40, std::nullopt, std::nullopt, "1", false, true, count(stored),
                                                    HCDelegate());
    clock.advance(1);
    testsupport::drainMain();
    EXPECT_EQ(stored, 1);
    EXPECT_TRUE(posts().empty());
    ASSERT_TRUE(HCNotification::sharedInstance()->defaultBackgroundNotice());
    EXPECT_EQ(HCNotification::sharedInstance()->defaultBackgroundNotice()->notificationText,
              "New high score! Saving locally.");
    HCNotification::sharedInstance()->clearDefaultNotice();

    // A player who did not approve the service but plays with Game Center:
    // each score goes there once, and never to the service.
    auto gameCenter = std::make_shared<FakeGameCenter>();
    HCHighScoreService::setGameCenter(gameCenter);
    Halcyon::setUserDeniedHalcyon();
    HCHighScoreService::setHighScore(90, "3", true, HCDelegate(), HCDelegate());
    HCHighScoreService::setHighScore(95, "3", true, HCDelegate(), HCDelegate());  // worse on an ascending board
    EXPECT_EQ(gameCenter->reported, (std::vector<std::int64_t>{90, 95}));

    // Approved again: the once-per-installation catch-up sends the local
    // best of the mapped board to both, with Game Center's dates; the
    // queued score goes with its own batch, not with the re-send.
    Halcyon::setUserApprovedHalcyon();
    EXPECT_TRUE(HCHighScoreService::sendPendingHighScores("1001", true, HCDelegate(), HCDelegate()));
    EXPECT_TRUE(gameCenter->synched);
    clock.advance(0.05);
    testsupport::drainMain();
    settleBatches();
    const auto sent = posts();
    ASSERT_EQ(sent.size(), 2u);
    // The two requests may reach the server in either order.
    for (const auto& post : sent) {
        const auto scoresSent = localserver::allValues(post.request.params, "high_scores[][score]");
        ASSERT_EQ(scoresSent.size(), 1u);
        EXPECT_TRUE(scoresSent[0] == "40" || scoresSent[0] == "90");
        EXPECT_EQ(localserver::allValues(post.request.params, "high_scores[][gamecenter_timestamp]"),
                  (std::vector<std::string>{"1234567890"}));
    }
    EXPECT_EQ(gameCenter->reported, (std::vector<std::int64_t>{90, 95, 40, 90}));
    EXPECT_EQ(pendingCount(), 0u);
    HCHighScoreService::setGameCenter(nullptr);
}

}  // namespace

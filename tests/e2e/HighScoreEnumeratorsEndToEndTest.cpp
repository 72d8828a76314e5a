// The score enumerators against the local server: navigation at both ends,
// the player's page, a failed page asked again, pages kept and reported
// without a request, an empty page ending the distribution, and a reply
// that arrives after the page changed kept under its own page.
#include <gtest/gtest.h>

#include <atomic>

#include "e2e/support/HighScoreServerTest.h"
#include "scores/highscores/HCScoreEnumerator.h"

namespace {

constexpr const char* kPath = "client_applications/@me/high_scores.xml";

struct Heard final : HCScoreEnumeratorDelegate, HCDistributedScoreEnumeratorDelegate {
    int received = 0;
    int failed = 0;
    int lastPage = 0;
    void didReceiveScoresHCScoreEnumerator(HCScoreEnumerator&) override { ++received; }
    void didFailReceiveScoresHCScoreEnumerator(HCScoreEnumerator&) override { ++failed; }
    void didReceiveScoresHCDistributedScoreEnumerator(HCDistributedScoreEnumerator&) override { ++received; }
    void didReachLastPageHCDistributedScoreEnumerator(HCDistributedScoreEnumerator&) override { ++lastPage; }
    void didFailReceiveScoresHCDistributedScoreEnumerator(HCDistributedScoreEnumerator&) override { ++failed; }
    int total() const { return received + failed + lastPage; }
};

class HighScoreEnumeratorsTest : public HighScoreServerTest {
protected:
    void TearDown() override
    {
        HCScoreEnumerator::setDelegate(nullptr);
        HCDistributedScoreEnumerator::setDelegate(nullptr);
        HighScoreServerTest::TearDown();
    }
    // Waits for the next callback.
    bool heardOnce()
    {
        const int before = heard.total();
        return testsupport::runMainUntil([&] { return heard.total() > before; });
    }
    static std::vector<std::int64_t> values(const HCHighScoreList* list)
    {
        return list ? valuesOf(*list) : std::vector<std::int64_t>{};
    }
    std::size_t requestCount() const { return server->log().entries().size(); }

    Heard heard;
};

TEST_F(HighScoreEnumeratorsTest, RankedPagesMoveWithinTheirEndsAndFindThePlayer)
{
    for (int i = 1; i <= 12; ++i) seed(std::to_string(2000 + i), "1", 100 * i);
    seed("1001", "1", 650);  // rank 7: page 2 of 5
    seed("1002", "1", 50);   // the player's friend, last
    HCScoreEnumerator::setDelegate(&heard);
    auto pages = HCScoreEnumerator::initWithLeaderboardId("1", 5, 0);
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(pages->currentPage(), 1);
    EXPECT_EQ(pages->totalPages(), 3);
    EXPECT_EQ(values(&*pages->scores()), (std::vector<std::int64_t>{1200, 1100, 1000, 900, 800}));
    EXPECT_FALSE(pages->isCurrentUserPage());
    EXPECT_FALSE(pages->activeRequest());

    const auto before = requestCount();
    EXPECT_FALSE(pages->previousPage());
    EXPECT_EQ(requestCount(), before);
    EXPECT_TRUE(pages->nextPage());
    EXPECT_FALSE(pages->hasScores());
    ASSERT_TRUE(heardOnce());
    EXPECT_TRUE(pages->isCurrentUserPage());
    EXPECT_TRUE(pages->nextPage());
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(values(&*pages->scores()), (std::vector<std::int64_t>{300, 200, 100, 50}));
    const auto atEnd = requestCount();
    EXPECT_FALSE(pages->nextPage());
    EXPECT_EQ(requestCount(), atEnd);

    pages->pageWithCurrentUser();
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(pages->currentPage(), 2);
    EXPECT_TRUE(pages->isCurrentUserPage());
    // A failed page can be asked for again.
    server->faults().injectFor("GET", kPath, localserver::Fault::reply(503));
    pages->jumpToPage(3);
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(heard.failed, 1);
    EXPECT_EQ(pages->currentPage(), 3);
    EXPECT_FALSE(pages->hasScores());
    pages->setCurrentPage(3);
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(values(&*pages->scores()), (std::vector<std::int64_t>{300, 200, 100, 50}));
    // A new size reloads page 1.
    pages->setPageSize(20);
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(pages->currentPage(), 1);
    EXPECT_EQ(pages->totalPages(), 1);

    // Friends only: the player and the one player it follows.
    auto friends = HCScoreEnumerator::initWithLeaderboardId("1", 5, 1);
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(localserver::firstValue(requestsTo(kPath).back().request.params, "friends_leaderboard"), "1");
    EXPECT_EQ(values(&*friends->scores()), (std::vector<std::int64_t>{650, 50}));
}

TEST_F(HighScoreEnumeratorsTest, DistributedPagesAreKeptAndEndAtTheFirstEmptyOne)
{
    for (int i = 0; i < 5; ++i) seed(std::to_string(2000 + i), "3", 50 + 100 * i);  // 50, 150 ... 450
    auto distributed = HCDistributedScoreEnumerator::initWithLeaderboardId("3", 2, 100, 0, &heard);
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(values(distributed->scores()), (std::vector<std::int64_t>{50, 150}));
    EXPECT_FALSE(distributed->previousPage());
    EXPECT_TRUE(distributed->nextPage());
    ASSERT_TRUE(heardOnce());
    EXPECT_TRUE(distributed->nextPage());
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(values(distributed->scores()), (std::vector<std::int64_t>{450}));
    EXPECT_TRUE(distributed->nextPage());
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(heard.lastPage, 1);
    // From now on the page before the empty one is the end.
    distributed->jumpToPage(3);
    EXPECT_EQ(heard.received, 4);
    const auto before = requestCount();
    EXPECT_FALSE(distributed->nextPage());
    // Going back is answered from the kept pages, without a request.
    EXPECT_TRUE(distributed->previousPage());
    EXPECT_EQ(heard.received, 5);
    EXPECT_EQ(values(distributed->scores()), (std::vector<std::int64_t>{250, 350}));
    EXPECT_EQ(requestCount(), before);
    distributed->jumpToPage(0);
    EXPECT_EQ(distributed->currentPage(), 2);
}

TEST_F(HighScoreEnumeratorsTest, ALateReplyIsKeptUnderThePageItWasAskedFor)
{
    for (int i = 0; i < 4; ++i) seed(std::to_string(2000 + i), "3", 50 + 100 * i);
    auto distributed = HCDistributedScoreEnumerator::initWithLeaderboardId("3", 2, 100, 0, &heard);
    ASSERT_TRUE(heardOnce());
    distributed->jumpToPage(2);
    // The reply for page 2 is on its way to the main thread when the game
    // goes back to page 1.
    ASSERT_TRUE(provider->waitUntilIdle(10.0));
    std::atomic<bool> handedOn{false};
    provider->requestThread()->runLoop()->post([&handedOn] { handedOn = true; });
    while (!handedOn) std::this_thread::yield();
    distributed->jumpToPage(1);
    testsupport::drainMain();
    EXPECT_EQ(distributed->currentPage(), 1);
    EXPECT_EQ(values(distributed->scores()), (std::vector<std::int64_t>{50, 150}));
    const auto before = requestCount();
    distributed->jumpToPage(2);
    EXPECT_EQ(values(distributed->scores()), (std::vector<std::int64_t>{250, 350}));
    EXPECT_EQ(requestCount(), before);

    // A page that failed is asked for again.
    server->faults().injectFor("GET", "leaderboards/3/high_scores/range/0/100/3/2.xml",
                               localserver::Fault::reply(500));
    distributed->jumpToPage(3);
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(heard.failed, 1);
    distributed->jumpToPage(3);
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(heard.lastPage, 1);
}

}  // namespace

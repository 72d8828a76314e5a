// The score enumerators against the local server: navigation at both ends,
// the player's page, a failed page asked again, pages kept and reported
// without a request, an empty page ending the distribution, a reply that
// arrives after the page changed kept under its own page and never taken
// for the current one, page numbers at the ends of int, and replies whose
// pagination header is out of range.
#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <tuple>

#include "e2e/support/HighScoreServerTest.h"
#include "scores/highscores/HCScoreEnumerator.h"
#include "support/RequestThreadGate.h"

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
    // The next reply of `path`: scores under a pagination header with these children.
    void armScoresReply(const std::string& path, const std::string& headerChildren,
                        const std::vector<std::int64_t>& scores)
    {
        std::string xml = "<resources><pagination_header>" + headerChildren + "</pagination_header>";
        for (std::size_t i = 0; i < scores.size(); ++i)
            xml += "<high_score><id>" + std::to_string(900 + i) + "</id><score>" + std::to_string(scores[i]) +
                   "</score></high_score>";
        xml += "</resources>";
        server->faults().injectFor("GET", path, localserver::Fault::reply(200, xml, "application/xml"));
    }
    // Holds the request thread once what it had to deliver is on the main
    // thread's queue: a request started now waits, a reply already sent does not.
    std::unique_ptr<testsupport::RequestThreadGate> holdRequestThread()
    {
        EXPECT_TRUE(provider->waitUntilIdle(10.0));
        // A finished request's reply takes one more turn of the request
        // thread on its way to the main thread: let one turn pass first.
        testsupport::RequestThreadGate{provider->requestThread()};
        return std::make_unique<testsupport::RequestThreadGate>(provider->requestThread());
    }

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
    // A new size reloads page 1, also when page 1 is shown.
    pages->setPageSize(20);
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(pages->currentPage(), 1);
    EXPECT_EQ(pages->totalPages(), 1);
    pages->setPageSize(4);
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(pages->currentPage(), 1);
    EXPECT_EQ(pages->totalPages(), 4);
    EXPECT_EQ(values(&*pages->scores()), (std::vector<std::int64_t>{1200, 1100, 1000, 900}));

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

    // A second enumerator's delegate takes the first one's callbacks too.
    Heard other;
    auto second = HCDistributedScoreEnumerator::initWithLeaderboardId("3", 2, 100, 0, &other);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return other.received == 1; }));
    distributed->jumpToPage(1);
    EXPECT_EQ(other.received, 2);
    EXPECT_EQ(heard.received, 5);
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

TEST_F(HighScoreEnumeratorsTest, ALateRankedReplyIsDroppedAndTheRunningRequestStaysTracked)
{
    for (int i = 1; i <= 12; ++i) seed(std::to_string(2000 + i), "1", 100 * i);
    HCScoreEnumerator::setDelegate(&heard);
    auto pages = HCScoreEnumerator::initWithLeaderboardId("1", 5, 0);
    ASSERT_TRUE(heardOnce());
    pages->jumpToPage(2);
    // Page 2's reply is on the main thread's queue when the game goes on.
    auto gate = holdRequestThread();
    pages->jumpToPage(3);
    testsupport::drainMain();
    EXPECT_EQ(heard.received, 1) << "page 2 is no longer wanted";
    EXPECT_EQ(pages->currentPage(), 3);
    EXPECT_FALSE(pages->hasScores());
    EXPECT_TRUE(pages->activeRequest()) << "page 3 is still on its way";
    gate->open();
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(heard.received, 2);
    EXPECT_EQ(values(&*pages->scores()), (std::vector<std::int64_t>{200, 100}));
    EXPECT_FALSE(pages->activeRequest());
}

TEST_F(HighScoreEnumeratorsTest, ALateDistributedReplyIsKeptButOnlyTheRunningRequestIsReported)
{
    for (int i = 0; i < 6; ++i) seed(std::to_string(2000 + i), "3", 50 + 100 * i);
    auto distributed = HCDistributedScoreEnumerator::initWithLeaderboardId("3", 2, 100, 0, &heard);
    ASSERT_TRUE(heardOnce());
    distributed->jumpToPage(2);
    auto gate = holdRequestThread();
    // Away and back before page 2's first reply is taken: a second request for it runs.
    distributed->jumpToPage(3);
    distributed->jumpToPage(2);
    testsupport::drainMain();
    EXPECT_EQ(heard.received, 1);
    EXPECT_EQ(values(distributed->scores()), (std::vector<std::int64_t>{250, 350})) << "kept under its page";
    EXPECT_TRUE(distributed->activeRequest()) << "the request running now is still tracked";
    gate->open();
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(heard.received, 2) << "page 2 reported once";
    EXPECT_FALSE(distributed->activeRequest());
    EXPECT_EQ(requestsTo("leaderboards/3/high_scores/range/0/100/2/2.xml").size(), 2u);
}

TEST_F(HighScoreEnumeratorsTest, AReplyWithAHeaderOutOfRangeFailsAndMovesNothing)
{
    for (int i = 1; i <= 12; ++i) seed(std::to_string(2000 + i), "1", 100 * i);
    HCScoreEnumerator::setDelegate(&heard);
    // The first page says there are more pages than an int can count.
    armScoresReply(kPath, "<current_page>1</current_page><total_pages>3000000000</total_pages>", {1200, 1100});
    auto pages = HCScoreEnumerator::initWithLeaderboardId("1", 5, 0);
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(heard.failed, 1);
    EXPECT_EQ(pages->totalPages(), 0);
    EXPECT_EQ(pages->currentPage(), 1);
    const auto before = requestCount();
    EXPECT_FALSE(pages->nextPage());
    EXPECT_EQ(requestCount(), before) << "no page is asked for";
    EXPECT_EQ(pages->currentPage(), 1);

    pages->setCurrentPage(1);
    ASSERT_TRUE(heardOnce());
    armScoresReply(kPath, "<current_page>2147483648</current_page><total_pages>3</total_pages>", {700, 600});
    pages->jumpToPage(2);
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(heard.failed, 2);
    EXPECT_FALSE(pages->hasScores());
    EXPECT_EQ(pages->currentPage(), 2);
    EXPECT_EQ(pages->totalPages(), 3) << "the count of the last good reply";

    // A reply without a header: its scores are taken, the pages are 0 of 0
    // and the steps stay where they are.
    std::string bare = "<resources>";
    for (int score : {1200, 1100}) bare += "<high_score><id>" + std::to_string(score) + "</id><score>" + std::to_string(score) + "</score></high_score>";
    server->faults().injectFor("GET", kPath, localserver::Fault::reply(200, bare + "</resources>", "application/xml"));
    pages->jumpToPage(1);
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(values(&*pages->scores()), (std::vector<std::int64_t>{1200, 1100}));
    EXPECT_EQ(pages->currentPage(), 0);
    EXPECT_EQ(pages->totalPages(), 0);
    const auto unmoved = requestCount();
    EXPECT_FALSE(pages->nextPage());
    EXPECT_FALSE(pages->previousPage());
    EXPECT_EQ(requestCount(), unmoved);

    // The distributed enumerator keeps nothing of such a reply.
    armScoresReply("leaderboards/3/high_scores/range/0/100/1/2.xml", "<total_entries>-1</total_entries>", {50});
    auto distributed = HCDistributedScoreEnumerator::initWithLeaderboardId("3", 2, 100, 0, &heard);
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(heard.failed, 3);
    EXPECT_FALSE(distributed->hasScores());
}

TEST_F(HighScoreEnumeratorsTest, PagesAtTheEndsOfIntStepWithoutOverflow)
{
    for (int i = 1; i <= 12; ++i) seed(std::to_string(2000 + i), "1", 100 * i);
    HCScoreEnumerator::setDelegate(&heard);
    auto pages = HCScoreEnumerator::initWithLeaderboardId("1", 5, 0);
    ASSERT_TRUE(heardOnce());
    // A page the game asks for is kept when its load fails; stepping on or
    // back from it stays within the pages there are.
    const std::vector<std::tuple<int, bool (HCScoreEnumerator::*)(), int>> steps{
        {INT_MAX, &HCScoreEnumerator::nextPage, 3}, {INT_MIN, &HCScoreEnumerator::previousPage, 1}};
    for (const auto& [asked, step, landed] : steps) {
        server->faults().injectFor("GET", kPath, localserver::Fault::reply(503));
        pages->setCurrentPage(asked);
        ASSERT_TRUE(heardOnce());
        EXPECT_EQ(pages->currentPage(), asked);
        EXPECT_FALSE(((*pages).*step)());
        ASSERT_TRUE(heardOnce());
        EXPECT_EQ(pages->currentPage(), landed);
    }

    auto distributed = HCDistributedScoreEnumerator::initWithLeaderboardId("1", 2, 100, 0, &heard);
    ASSERT_TRUE(heardOnce());
    distributed->jumpToPage(INT_MAX);
    ASSERT_TRUE(heardOnce());
    EXPECT_EQ(heard.lastPage, 1);
    const auto before = requestCount();
    EXPECT_FALSE(distributed->nextPage());
    EXPECT_EQ(distributed->currentPage(), INT_MAX);
    EXPECT_EQ(requestCount(), before);
}

}  // namespace

// Score attachments against the local server: submitted with the score,
// uploaded on the reply's parameters, read back byte for byte at the score's
// "blob_url", and reported missing on a 404. Every blob a batch announces
// is uploaded for its own score, however many the board has in the batch,
// and a batch's or the re-send's blob whatever its size.
#include <gtest/gtest.h>

#include "core/resources/HCResource.h"
#include "core/storage/HCBlobObserverHooks.h"
#include "core/storage/HCCloudStorageService.h"
#include "e2e/support/HighScoreServerTest.h"

namespace {

using DataPtr = std::shared_ptr<platform::Data>;

// Which of a download's two callbacks came, and with what.
struct BlobOutcome {
    int successes = 0;
    int failures = 0;
    std::shared_ptr<HCHighScore> score;  // what the success callback was given

    HCDelegate success()
    {
        return HCDelegate::withFunction([this](const platform::ObjectPtr& given) {
            score = platform::as<HCHighScore>(given);
            ++successes;
        });
    }
    HCDelegate failed()
    {
        return HCDelegate::withFunction([this](const platform::ObjectPtr&) { ++failures; });
    }
    bool done() const { return successes + failures > 0; }
};

class HighScoreBlobsTest : public HighScoreServerTest {
protected:
    void SetUp() override
    {
        HighScoreServerTest::SetUp();
        HCBlobObserverHooks::install();
        HCCloudStorageService::initializeService();
    }
    void TearDown() override
    {
        HCCloudStorageService::shutdownService();
        HCBlobObserverHooks::remove();
        HighScoreServerTest::TearDown();
    }

    void submit(std::int64_t score, const DataPtr& blob)
    {
        HCHighScoreService::setHighScoreWithDisplayText(score, std::nullopt, std::nullopt, blob, "1", true, false,
                                                        HCDelegate(), HCDelegate());
    }
    bool uploaded(std::int64_t score)
    {
        auto stored = scores->find("1001", "1", score);
        return stored && bucket->object("high_score-" + stored->id + ".blob").has_value();
    }
    std::size_t pendingRows()
    {
        std::size_t pending = 0;
        for (const auto& row : scoretest::rawRows(mainDb.handle())) pending += row.serverSyncAt ? 0 : 1;
        return pending;
    }
    // The scores of board 1 as the page query reads them.
    std::vector<std::shared_ptr<HCHighScore>> boardPage()
    {
        Outcome page;
        HCHighScoreService::getPage(1, "1", false, true, page.success(), page.failed());
        EXPECT_TRUE(waitFor(page));
        auto last = page.series ? platform::as<HCTableSectionDescription>(page.series->objects().back()) : nullptr;
        return last ? highScoresOf(last->page()) : std::vector<std::shared_ptr<HCHighScore>>{};
    }

    // Player 1001's score on board 1 reads its blob back from the storage
    // host byte for byte.
    void expectStoredBlob(std::int64_t value, const DataPtr& blob)
    {
        SCOPED_TRACE(value);
        const auto stored = scores->find("1001", "1", value);
        ASSERT_TRUE(stored);
        auto score = HCResource::initWithId<HCHighScore>(stored->id);
        score->setBlobUrl(bucket->objectUrl("high_score-" + stored->id + ".blob"));
        Outcome download;
        HCHighScoreService::downloadBlobForHighScore(score, download.success(), download.failed());
        ASSERT_TRUE(waitFor(download));
        ASSERT_TRUE(score->blob());
        EXPECT_EQ(score->blob()->bytes(), blob->bytes());
    }

    testsupport::ScopedManualClock clock{1700000000.0};
};

TEST_F(HighScoreBlobsTest, AnAttachmentTravelsToTheStorageHostAndBackByteForByte)
{
    auto blob = platform::Data::make(testsupport::incompressibleBytes(4000, 7));
    submit(500, blob);
    clock.advance(0.05);
    testsupport::drainMain();
    fence();
    // The row is confirmed only once the attachment is stored.
    ASSERT_TRUE(testsupport::runMainUntil([&] { return uploaded(500) && pendingRows() == 0; }));
    EXPECT_FALSE(HCHighScoreService::getPendingBlobForLeaderboard("1", 500));

    auto listed = boardPage();
    ASSERT_EQ(listed.size(), 1u);
    auto score = listed[0];
    ASSERT_TRUE(score->blobUrl());
    EXPECT_TRUE(score->hasBlob());
    EXPECT_FALSE(score->blob());
    BlobOutcome download;
    EXPECT_TRUE(HCHighScoreService::downloadBlobForHighScore(score, download.success(), download.failed()));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return download.done(); }));
    EXPECT_EQ(download.successes, 1);
    EXPECT_EQ(download.failures, 0);
    EXPECT_EQ(download.score, score);
    ASSERT_TRUE(score->blob());
    EXPECT_EQ(score->blob()->bytes(), blob->bytes());
    // Already here: success with the score at once, no request.
    const auto before = server->log().entries().size();
    BlobOutcome again;
    EXPECT_FALSE(HCHighScoreService::downloadBlobForHighScore(score, again.success(), again.failed()));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return again.done(); }));
    EXPECT_EQ(again.successes, 1);
    EXPECT_EQ(again.failures, 0);
    EXPECT_EQ(again.score, score);
    fence();
    EXPECT_EQ(server->log().entries().size(), before + 1) << "only the fence reached the server";

    // A score without an attachment fails at once without a request.
    auto plain = HCResource::initWithId<HCHighScore>(std::string("77"));
    BlobOutcome none;
    EXPECT_FALSE(HCHighScoreService::downloadBlobForHighScore(plain, none.success(), none.failed()));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return none.done(); }));
    EXPECT_EQ(none.successes, 0);
    EXPECT_EQ(none.failures, 1);
}

TEST_F(HighScoreBlobsTest, AMissingAttachmentIsReportedAndNoLongerOffered)
{
    auto stored = seed("1001", "1", 900);
    localserver::StoredScore withBlob = stored;
    withBlob.hasBlob = true;
    scores->accept(withBlob);
    auto score = HCResource::initWithId<HCHighScore>(stored.id);
    score->setBlobUrl(bucket->objectUrl("high_score-" + stored.id + ".blob"));
    BlobOutcome download;
    EXPECT_TRUE(HCHighScoreService::downloadBlobForHighScore(score, download.success(), download.failed()));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return download.done(); }));
    EXPECT_EQ(download.failures, 1);
    EXPECT_EQ(download.successes, 0);
    EXPECT_FALSE(score->blob());
    const std::string report = "high_scores/" + stored.id + "/invalidate_blob.xml";
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !scores->findById(stored.id)->hasBlob; }));
    ASSERT_EQ(requestsTo(report).size(), 1u);
    EXPECT_EQ(requestsTo(report)[0].request.method, "POST");
    EXPECT_TRUE(requestsTo(report)[0].request.params.empty());

    // A score without an id names nothing to report: the download fails
    // and no report goes out.
    auto nameless = HCResource::initWithId<HCHighScore>(std::nullopt);
    nameless->setBlobUrl(bucket->objectUrl("high_score-none.blob"));
    BlobOutcome lost;
    EXPECT_TRUE(HCHighScoreService::downloadBlobForHighScore(nameless, lost.success(), lost.failed()));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return lost.done(); }));
    EXPECT_EQ(lost.failures, 1);
    fence();
    std::size_t reports = 0;
    for (const auto& entry : server->log().entries()) {
        const auto& path = entry.request.path;
        reports += path.size() >= 20 && path.compare(path.size() - 20, 20, "/invalidate_blob.xml") == 0 ? 1 : 0;
    }
    EXPECT_EQ(reports, 1u);
}

TEST_F(HighScoreBlobsTest, EveryAnnouncedBlobIsUploadedForItsOwnScore)
{
    // Three scores of one board in one batch, two with blobs and one
    // without between them: each blob announced is uploaded under its own
    // score, whatever the others hold or the reply's order.
    auto first = platform::Data::make(std::vector<uint8_t>(300, 'a'));
    auto second = platform::Data::make(std::vector<uint8_t>{'s', 'e', 'c', 'o', 'n', 'd', 0, 255});
    submit(600, first);
    clock.advance(0.01);
    submit(650, nullptr);
    clock.advance(0.01);
    submit(700, second);
    clock.advance(0.05);
    testsupport::drainMain();
    fence();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return uploaded(600) && uploaded(700) && pendingRows() == 0; }));
    const auto posts = requestsTo("client_applications/@me/high_scores.xml");
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(localserver::allValues(posts[0].request.params, "high_scores[][has_blob]"),
              (std::vector<std::string>{"1", "0", "1"}));
    EXPECT_FALSE(uploaded(650));
    EXPECT_FALSE(HCHighScoreService::getPendingBlobForLeaderboard("1", 600));
    EXPECT_FALSE(HCHighScoreService::getPendingBlobForLeaderboard("1", 700));

    expectStoredBlob(600, first);
    expectStoredBlob(700, second);
}

TEST_F(HighScoreBlobsTest, BatchedAndResentBlobsOverTheSingleScoreLimitAreUploaded)
{
    // Only a single submission stops at 51,200 bytes; a batch the game
    // hands over and the re-send after a log-in send every blob they hold.
    auto batched = platform::Data::make(testsupport::incompressibleBytes(60000, 11));
    HCHighScoreBatch batch{std::make_shared<HCHighScoreBatchEntry>("1", 800, std::nullopt, std::nullopt, batched)};
    int succeeded = 0;
    HCHighScoreService::batchSetHighScores(
        &batch, true, HCDelegate::withFunction([&](const platform::ObjectPtr&) { ++succeeded; }), HCDelegate(),
        std::nullopt);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return uploaded(800) && pendingRows() == 0; }));
    EXPECT_EQ(succeeded, 1);

    online = false;
    auto resent = platform::Data::make(testsupport::incompressibleBytes(51201, 12));
    submit(900, resent);
    testsupport::drainMain();
    EXPECT_EQ(pendingRows(), 1u);
    online = true;
    ASSERT_TRUE(HCHighScoreService::sendPendingHighScores("1001", true, HCDelegate(), HCDelegate()));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return uploaded(900) && pendingRows() == 0; }));

    const auto posts = requestsTo("client_applications/@me/high_scores.xml");
    ASSERT_EQ(posts.size(), 2u);
    for (const auto& post : posts) {
        EXPECT_EQ(localserver::allValues(post.request.params, "high_scores[][has_blob]"), std::vector<std::string>{"1"});
    }
    expectStoredBlob(800, batched);
    expectStoredBlob(900, resent);
}

}  // namespace

// The game's score and leaderboard objects: submission reported to the class
// delegate once stored, local reads, a leaderboard's first page (friends
// for filter 1, the last section of the sectioned reply), scores around
// the player, and a blob download without an attachment.
#include <gtest/gtest.h>

#include "core/users/HCUser.h"
#include "e2e/support/HighScoreServerTest.h"
#include "scores/highscores/HCHighScoreDelegates.h"
#include "scores/leaderboards/HCLeaderboard.h"

namespace {

struct Heard final : HCHighScoreDelegate, HCLeaderboardDelegate {
    std::vector<std::string> events;
    std::vector<std::int64_t> scores;
    void didSubmit(const std::shared_ptr<HCHighScore>& s) override { events.push_back("submit " + s->displayText()); }
    void didFailSubmit(const std::shared_ptr<HCHighScore>&) override { events.push_back("fail submit"); }
    void didFailDownloadBlob(const std::shared_ptr<HCHighScore>&) override { events.push_back("fail blob"); }
    void didDownloadBlob(const std::shared_ptr<HCHighScore>& s) override
    {
        events.push_back("blob " + std::to_string(s->blob() ? s->blob()->bytes().size() : 0));
    }
    void didGetHighScoresNearCurrentUser(const std::vector<std::shared_ptr<HCHighScore>>& list) override
    {
        events.push_back("near");
        for (const auto& s : list) scores.push_back(s->score());
    }
    void didDownloadHighScores(const std::vector<std::shared_ptr<HCHighScore>>& list,
                               const std::shared_ptr<HCLeaderboard>& board) override
    {
        events.push_back("page " + board->leaderboardId().value_or(""));
        for (const auto& s : list) scores.push_back(s->score());
    }
};

class HighScoreObjectsTest : public HighScoreServerTest {
protected:
    void SetUp() override
    {
        HighScoreServerTest::SetUp();
        HCHighScore::setDelegate(&heard);
        HCLeaderboard::setDelegate(&heard);
    }
    void TearDown() override
    {
        HCHighScore::setDelegate(nullptr);
        HCLeaderboard::setDelegate(nullptr);
        HighScoreServerTest::TearDown();
    }
    bool heardEvents(std::size_t count)
    {
        return testsupport::runMainUntil([&] { return heard.events.size() >= count; });
    }
    Heard heard;
};

TEST_F(HighScoreObjectsTest, SubmissionAndLocalReadsThroughTheObjects)
{
    online = false;
    auto board = HCResource::initWithId<HCLeaderboard>(std::string("1"));
    board->setDescendingScoreOrder("1");
    auto unknown = HCResource::initWithId<HCLeaderboard>(std::string("9"));
    auto score = HCHighScore::initForSubmissionWithScore(-42);
    score->submitTo(board);
    HCHighScore::initForSubmissionWithScore(7)->submitTo(unknown);
    auto better = HCHighScore::initForSubmissionWithScore(100);
    better->setDisplayText(std::string("a hundred"));
    board->submitScore(better);
    ASSERT_TRUE(heardEvents(2));
    // A score without display text goes with its number (minus sign kept).
    EXPECT_EQ(heard.events, (std::vector<std::string>{"submit -42", "fail submit"}));

    auto stored = board->locallySubmittedScores();
    ASSERT_EQ(valuesOf(stored), (std::vector<std::int64_t>{100, -42}));
    EXPECT_EQ(stored[0]->displayText(), "a hundred");
    EXPECT_EQ(stored[1]->displayText(), "-42");
    EXPECT_EQ(stored[1]->rank(), 2);
    auto best = board->highScoreForCurrentUser();
    ASSERT_TRUE(best);
    EXPECT_EQ(best->score(), 100);
    // With the player's record stored, the best carries their name.
    HCClientStateQueries named;
    named.lastLoggedInUserId = [] { return std::optional<std::string>("1001"); };
    named.isOnline = [this] { return online.load(); };
    named.localUser = [] {
        auto ann = HCResource::initWithId<HCUser>(std::string("1001"));
        ann->setName(std::string("Ann"));
        return ann;
    };
    HCClientState::setQueries(named);
    ASSERT_TRUE(board->highScoreForCurrentUser());
    EXPECT_EQ(board->highScoreForCurrentUser()->user()->name(), "Ann");
    EXPECT_FALSE(unknown->highScoreForCurrentUser());

    // No attachment: failure at once and no request.
    EXPECT_FALSE(score->downloadBlob());
    ASSERT_TRUE(heardEvents(3));
    EXPECT_EQ(heard.events.back(), "fail blob");
    // The attachment already here: success at once and no request.
    auto held = HCHighScore::initForSubmissionWithScore(1);
    held->setBlob(platform::Data::fromString("replay"));
    EXPECT_FALSE(held->downloadBlob());
    ASSERT_TRUE(heardEvents(4));
    EXPECT_EQ(heard.events.back(), "blob 6");
    fence();
    EXPECT_EQ(server->log().entries().size(), 1u) << "only the fence reached the server";
}

TEST_F(HighScoreObjectsTest, WhatTheObjectsPost)
{
    testsupport::ScopedManualClock clock{1700000000.0};
    auto board = HCResource::initWithId<HCLeaderboard>(std::string("1"));
    // The score's own submission carries its number as display text and
    // its attachment; the leaderboard's carries the text and never a blob.
    auto withBlob = HCHighScore::initForSubmissionWithScore(-42);
    withBlob->setBlob(platform::Data::fromString("replay"));
    withBlob->submitTo(board);
    auto viaBoard = HCHighScore::initForSubmissionWithScore(300);
    viaBoard->setBlob(platform::Data::fromString("dropped"));
    board->submitScore(viaBoard);
    clock.advance(0.05);
    testsupport::drainMain();
    fence();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !requestsTo("client_applications/@me/high_scores.xml").empty(); }));
    const auto params = requestsTo("client_applications/@me/high_scores.xml")[0].request.params;
    EXPECT_EQ(localserver::allValues(params, "high_scores[][score]"), (std::vector<std::string>{"-42", "300"}));
    EXPECT_EQ(localserver::allValues(params, "high_scores[][display_text]"), (std::vector<std::string>{"-42", "300"}));
    EXPECT_EQ(localserver::allValues(params, "high_scores[][has_blob]"), (std::vector<std::string>{"1", "0"}));
    EXPECT_EQ(heard.events, std::vector<std::string>{"submit -42"});

    // Filters other than 1 ask for everyone.
    for (int filter : {0, 2}) {
        EXPECT_TRUE(board->downloadHighScoresWithFilter(filter));
        ASSERT_TRUE(testsupport::runMainUntil([&] { return heard.events.back().rfind("page", 0) == 0; }));
        heard.events.push_back("-");
        const auto page = requestsTo("client_applications/@me/high_scores.xml").back().request.params;
        EXPECT_FALSE(localserver::firstValue(page, "friends_leaderboard")) << filter;
        EXPECT_FALSE(localserver::firstValue(page, "follower_id")) << filter;
    }
}

TEST_F(HighScoreObjectsTest, ALeaderboardsFirstPageAndTheScoresAroundThePlayer)
{
    for (int i = 1; i <= 4; ++i) seed(std::to_string(2000 + i), "1", 100 * i);
    seed("1001", "1", 250);
    seed("1002", "1", 90);
    auto board = HCResource::initWithId<HCLeaderboard>(std::string("1"));
    EXPECT_TRUE(board->downloadHighScoresWithFilter(1));
    EXPECT_EQ(board->filter(), 1);
    ASSERT_TRUE(heardEvents(1));
    EXPECT_EQ(heard.events[0], "page 1");
    // The friends' page, not the "My Score" section.
    EXPECT_EQ(heard.scores, (std::vector<std::int64_t>{250, 90}));
    const auto params = requestsTo("client_applications/@me/high_scores.xml").back().request.params;
    EXPECT_EQ(localserver::firstValue(params, "page_size"), "25");
    EXPECT_EQ(localserver::firstValue(params, "follower_id"), "me");

    heard.scores.clear();
    EXPECT_TRUE(HCHighScore::getHighScoresNearCurrentUserForLeaderboard(board, 1, 1));
    ASSERT_TRUE(heardEvents(2));
    EXPECT_EQ(heard.events[1], "near");
    EXPECT_EQ(heard.scores, (std::vector<std::int64_t>{300, 250, 200}));
}

}  // namespace

// The local score table's rules from literal sequences: which rows are kept,
// which one is pending, what aggregates receive, and how rows without a user
// are adopted for the re-send.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <limits>

#include "scores/highscores/HCLocalHighScoreStore.h"
#include "support/LocalScoreTable.h"
#include "support/TestSupport.h"

namespace {

using scoretest::RawRow;

constexpr std::int64_t kStart = 1700000000;
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

class LocalHighScoreStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(db.open((dir.path() / "halcyon_offline").string()));
        ASSERT_TRUE(scoretest::exec(db.handle(), scoretest::kCreateHighScores));
        ASSERT_TRUE(scoretest::exec(db.handle(), scoretest::kCreateHighScoresIndex));
        boards = std::make_shared<scoretest::FakeLeaderboards>();
        boards->boards["1"] = {true, false, false};   // descending
        boards->boards["2"] = {true, true, false};    // descending, lower scores posted
        boards->boards["3"] = {false, false, false};  // ascending
        boards->boards["9"] = {true, false, true};    // aggregate of 1
        boards->boards["8"] = {false, false, true};   // ascending aggregate of 3
        boards->parents["1"] = {"9"};
        boards->parents["3"] = {"8"};
        store = std::make_unique<HCLocalHighScoreStore>(db.handle(), boards);
    }

    HCLocalHighScoreStore::Outcome put(const std::string& board, std::int64_t score, const std::string& user = "1001",
                                       std::optional<std::int64_t> serverDate = std::nullopt,
                                       std::shared_ptr<platform::Data> blob = nullptr, bool override = true)
    {
        HCLocalHighScoreStore::Write write;
        write.userId = user;
        write.leaderboardId = board;
        write.score = score;
        write.serverDate = serverDate;
        write.blob = std::move(blob);
        write.overrideExisting = override;
        return store->store(write);
    }

    // "score:p" for a pending row, "score:T" for one synced at time T.
    std::vector<std::string> rowsOf(const std::string& board, const std::string& user = "1001")
    {
        std::vector<std::string> out;
        for (const RawRow& row : scoretest::rawRows(db.handle())) {
            if (row.leaderboardId == board && row.userId == user) {
                out.push_back(std::to_string(row.score) + ":" +
                              (row.serverSyncAt ? std::to_string(*row.serverSyncAt) : std::string("p")));
            }
        }
        return out;
    }

    RawRow rowOf(const std::string& board, std::int64_t score, const std::string& user = "1001")
    {
        for (const RawRow& row : scoretest::rawRows(db.handle())) {
            if (row.leaderboardId == board && row.userId == user && row.score == score) {
                return row;
            }
        }
        ADD_FAILURE() << "no row " << board << "/" << score;
        return {};
    }

    testsupport::ScopedManualClock clock{static_cast<double>(kStart)};
    testsupport::TempDir dir;
    HCSqlDatabase db;
    std::shared_ptr<scoretest::FakeLeaderboards> boards;
    std::unique_ptr<HCLocalHighScoreStore> store;
};

TEST_F(LocalHighScoreStoreTest, BetterScoresStayPendingAndWorseOnesAreStoredAsSent)
{
    // 500, then a worse 400, then a better 600 on a descending board.
    auto first = put("1", 500);
    EXPECT_TRUE(first.stored);
    EXPECT_TRUE(first.shouldSubmit);
    auto worse = put("1", 400);
    EXPECT_TRUE(worse.stored);
    EXPECT_FALSE(worse.shouldSubmit);
    auto better = put("1", 600);
    EXPECT_TRUE(better.shouldSubmit);
    // 400 is dated now; 500 is superseded and dated with the last sync.
    EXPECT_EQ(rowsOf("1"), (std::vector<std::string>{"400:" + std::to_string(kStart), "500:1000", "600:p"}));

    // The same score again leaves the pending row pending, with either verb.
    EXPECT_FALSE(put("1", 600).shouldSubmit);
    EXPECT_FALSE(put("1", 600, "1001", std::nullopt, nullptr, false).shouldSubmit);
    EXPECT_EQ(rowsOf("1").back(), "600:p");
    // ... and again with a blob it is worth sending, so the blob travels.
    auto withBlob = put("1", 600, "1001", std::nullopt, platform::Data::fromString("replay"));
    EXPECT_TRUE(withBlob.shouldSubmit);
    EXPECT_EQ(rowsOf("1").back(), "600:p");

    // The server's confirmation (a write-back without a blob) keeps the blob.
    EXPECT_TRUE(put("1", 600, "1001", kStart + 5).stored);
    auto confirmed = rowOf("1", 600);
    EXPECT_EQ(confirmed.serverSyncAt, kStart + 5);
    EXPECT_EQ(confirmed.blobBytes, 6u);

    // An equal score with a blob is sent again even once confirmed.
    EXPECT_TRUE(put("1", 600, "1001", std::nullopt, platform::Data::fromString("other")).shouldSubmit);
    EXPECT_EQ(rowsOf("1").back(), "600:p");

    // Another player's best does not count as this one's previous score.
    EXPECT_TRUE(put("1", 100, "1002").shouldSubmit);
}

TEST_F(LocalHighScoreStoreTest, KeepsTheTenBestButNeverDropsAPendingRow)
{
    // One to eleven, all confirmed: the worst goes.
    for (int score = 1; score <= 11; ++score) {
        ASSERT_TRUE(put("1", score, "1001", kStart).stored);
    }
    auto rows = rowsOf("1");
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows.front(), "2:" + std::to_string(kStart));

    // Ascending board: the highest goes.
    for (int score = 1; score <= 11; ++score) {
        ASSERT_TRUE(put("3", score, "1001", kStart).stored);
    }
    rows = rowsOf("3");
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows.back(), "10:" + std::to_string(kStart));

    // A board that takes lower scores: a low score sent offline is pending
    // and stays when better confirmed scores push it out of the ten.
    EXPECT_TRUE(put("2", 5).shouldSubmit);
    for (int score = 100; score <= 1000; score += 100) {
        ASSERT_TRUE(put("2", score, "1001", kStart).stored);
    }
    rows = rowsOf("2");
    EXPECT_EQ(rows.size(), 11u);
    EXPECT_EQ(rows.front(), "5:p");
}

TEST_F(LocalHighScoreStoreTest, TheOnePendingRowIsTheBestUnsentScoreOrOnALowerScoresBoardTheLatest)
{
    // Lower scores allowed: the latest score is the one owed to the server,
    // worse or better.
    EXPECT_TRUE(put("2", 800).shouldSubmit);
    EXPECT_TRUE(put("2", 300).shouldSubmit);
    EXPECT_EQ(rowsOf("2"), (std::vector<std::string>{"300:p", "800:1000"}));
    put("2", 900);
    EXPECT_EQ(rowsOf("2"), (std::vector<std::string>{"300:1000", "800:1000", "900:p"}));
    // The server's confirmation of an older score leaves it pending.
    put("2", 800, "1001", kStart);
    EXPECT_EQ(rowsOf("2"), (std::vector<std::string>{"300:1000", "800:" + std::to_string(kStart), "900:p"}));

    // Ascending board: 50, a worse 60, a better 40.
    EXPECT_TRUE(put("3", 50).shouldSubmit);
    EXPECT_FALSE(put("3", 60).shouldSubmit);
    EXPECT_TRUE(put("3", 40).shouldSubmit);
    EXPECT_EQ(rowsOf("3"), (std::vector<std::string>{"40:p", "50:1000", "60:" + std::to_string(kStart)}));

    // A confirmed better score from the server does not retire the only
    // unsent one: it is sent once more rather than lost.
    put("3", 30, "1001", kStart);
    EXPECT_EQ(rowsOf("3").front(), "30:" + std::to_string(kStart));
    EXPECT_EQ(store->pendingRows("1001").size(), 2u);  // board 2's 900 and board 3's 40
}

TEST_F(LocalHighScoreStoreTest, TheOnlyUnsentScoreOfABoardIsNeverRetired)
{
    // The player's better 600 is unsent; the server holds 300.
    put("1", 300, "1001", kStart);
    put("1", 600);
    // The copy now reads the board as ascending (a damaged reply did that
    // once) and a row stored before the log-in clashes with the 300: the
    // adoption re-runs the one-pending rule on the board.
    boards->boards["1"].descendingSortOrder = false;
    ASSERT_TRUE(scoretest::exec(db.handle(), "INSERT INTO high_scores (user_id, leaderboard_id, score) VALUES (0, 1, 300)"));
    ASSERT_TRUE(store->prepareResend("1001"));
    EXPECT_EQ(rowsOf("1"), (std::vector<std::string>{"300:" + std::to_string(kStart), "600:p"}));

    // The server's record of a better score (the bootstrap's copy) leaves it
    // pending as well.
    boards->boards["1"].descendingSortOrder = true;
    EXPECT_TRUE(put("1", 700, "1001", kStart, nullptr, false).stored);
    ASSERT_EQ(store->pendingRows("1001").size(), 1u);
    EXPECT_EQ(store->pendingRows("1001")[0].score, 600);
}

TEST_F(LocalHighScoreStoreTest, IdsThatAreNotIntegersAreRefused)
{
    // A board by that name in the copy, as an older file may hold.
    boards->boards["NaN"] = {true, false, false};
    for (const auto& [board, user] : std::vector<std::pair<std::string, std::string>>{
             {"1", "NaN"}, {"1", ""}, {"1", " 7"}, {"1", "1e3"}, {"NaN", "1001"}, {"1", "99999999999999999999"}}) {
        auto outcome = put(board, 100, user, kStart);
        EXPECT_FALSE(outcome.stored) << board << "/" << user;
        EXPECT_FALSE(outcome.shouldSubmit) << board << "/" << user;
    }
    EXPECT_TRUE(scoretest::rawRows(db.handle()).empty());
    EXPECT_FALSE(store->prepareResend("NaN"));
    // The rest is taken as before, negative ids included.
    EXPECT_TRUE(put("1", 100, "-3").stored);
    EXPECT_TRUE(put("1", 100, "1001").stored);
}

TEST_F(LocalHighScoreStoreTest, AggregatesFollowImprovementsAndTheFallsOfBoardsThatTakeLowerScores)
{
    // Descending child 1 feeds aggregate 9.
    put("1", 300);
    EXPECT_EQ(rowsOf("9"), (std::vector<std::string>{"300:" + std::to_string(kStart)}));
    put("1", 200);  // worse: nothing added, no negative row
    EXPECT_EQ(rowsOf("9"), (std::vector<std::string>{"300:" + std::to_string(kStart)}));
    put("1", 500);  // +200
    EXPECT_EQ(rowsOf("9").back(), "500:" + std::to_string(kStart));

    // Ascending child 3 feeds ascending aggregate 8: a worse (higher) time
    // must not become the aggregate's best.
    put("3", 50);
    put("3", 60);
    EXPECT_EQ(rowsOf("8"), (std::vector<std::string>{"50:" + std::to_string(kStart)}));
    put("3", 40);
    EXPECT_EQ(rowsOf("8").front(), "40:" + std::to_string(kStart));

    // A child that takes lower scores really falls: 800, then 300 takes
    // 500 off its aggregate, and 900 adds 100 to the best it had.
    boards->boards["7"] = {true, false, true};
    boards->parents["2"] = {"7"};
    put("2", 800);
    put("2", 300);
    EXPECT_EQ(rowsOf("7"), (std::vector<std::string>{"300:" + std::to_string(kStart), "800:" + std::to_string(kStart)}));
    put("2", 900);
    EXPECT_EQ(rowsOf("7").back(), "900:" + std::to_string(kStart));

    // The server's record of a child's score (the bootstrap's copy) feeds
    // the aggregate as the game's scores do.
    EXPECT_TRUE(put("1", 650, "1001", kStart, nullptr, false).stored);
    EXPECT_EQ(rowsOf("9").back(), "650:" + std::to_string(kStart));

    // Written directly, an aggregate takes nothing; unknown boards neither.
    auto direct = put("9", 10000);
    EXPECT_FALSE(direct.stored);
    EXPECT_TRUE(direct.shouldSubmit);
    auto unknown = put("77", 1);
    EXPECT_FALSE(unknown.stored);
    EXPECT_TRUE(unknown.shouldSubmit);
    EXPECT_TRUE(rowsOf("77").empty());
}

TEST_F(LocalHighScoreStoreTest, AggregatesHoldAtTheEndsOfTheRange)
{
    const std::string now = ":" + std::to_string(kStart);
    // Two descending children feed aggregate 9. From a negative best, the
    // largest score is an improvement past the range; the aggregate's sum
    // passes it too and stops at the top.
    boards->parents["2"] = {"9"};
    put("1", -5);
    put("2", 10);
    EXPECT_EQ(rowsOf("9").back(), "5" + now);
    EXPECT_TRUE(put("1", kMax, "1001", kStart).stored);  // the service's confirmation
    EXPECT_EQ(rowsOf("9").back(), std::to_string(kMax) + now);
    EXPECT_TRUE(put("2", 20).stored);  // at the top already: nothing to add
    EXPECT_EQ(rowsOf("9").back(), std::to_string(kMax) + now);

    // The ascending pair, down to the bottom: 5 then the smallest score is
    // exact; a second child's gain stops at the bottom.
    boards->boards["4"] = {false, false, false};
    boards->parents["4"] = {"8"};
    put("3", 5);
    EXPECT_TRUE(put("3", kMin).stored);
    EXPECT_EQ(rowsOf("8").front(), std::to_string(kMin) + now);
    EXPECT_TRUE(put("4", -1).stored);
    EXPECT_EQ(rowsOf("8").front(), std::to_string(kMin) + now);
    EXPECT_EQ(rowsOf("3").front(), std::to_string(kMin) + ":p");
}

// A board listed among its own ancestors must not recurse without end; a
// long chain is followed to its end, each board written once.
TEST_F(LocalHighScoreStoreTest, AggregateLinksAreFollowedToTheEndOfAChainAndASelfLinkCarriesNothing)
{
    const std::string now = ":" + std::to_string(kStart);
    // Board 20 heads a chain of nine aggregates, 21 to 29.
    boards->boards["20"] = {true, false, false};
    for (int id = 21; id <= 29; ++id) {
        boards->boards[std::to_string(id)] = {true, false, true};
        boards->parents[std::to_string(id - 1)] = {std::to_string(id)};
    }
    EXPECT_TRUE(put("20", 5).stored);
    EXPECT_EQ(rowsOf("28"), (std::vector<std::string>{"5" + now}));
    EXPECT_EQ(rowsOf("29"), (std::vector<std::string>{"5" + now}));

    // Aggregate 31 lists itself as its own parent.
    boards->boards["30"] = {true, false, false};
    boards->boards["31"] = {true, false, true};
    boards->parents["30"] = {"31"};
    boards->parents["31"] = {"31"};
    EXPECT_TRUE(put("30", 1).stored);
    EXPECT_EQ(rowsOf("31"), (std::vector<std::string>{"1" + now}));
}

// Around a cycle of links a score's change would come back to the aggregates
// it has passed; entered by one link, each gains it once. An aggregate fed
// by two aggregates of the same board sums both, so it gains the change by
// each path.
TEST_F(LocalHighScoreStoreTest, ACycleOfLinksAddsAScoreOnceToEachAggregateAndADiamondByBothPaths)
{
    const std::string now = ":" + std::to_string(kStart);
    auto child = [&](const std::string& id, std::vector<std::string> parents) {
        boards->boards[id] = {true, false, false};
        boards->parents[id] = std::move(parents);
    };
    auto aggregate = [&](const std::string& id, std::vector<std::string> parents) {
        boards->boards[id] = {true, false, true};
        boards->parents[id] = std::move(parents);
    };

    // Board 40 feeds 41; 41 and 42 feed each other.
    child("40", {"41"});
    aggregate("41", {"42"});
    aggregate("42", {"41"});
    EXPECT_TRUE(put("40", 100).stored);
    EXPECT_EQ(rowsOf("41"), (std::vector<std::string>{"100" + now}));
    EXPECT_EQ(rowsOf("42"), (std::vector<std::string>{"100" + now}));
    put("40", 150);  // 50 more, once
    EXPECT_EQ(rowsOf("41").back(), "150" + now);
    EXPECT_EQ(rowsOf("42").back(), "150" + now);

    // A cycle of three, 51 -> 52 -> 53 -> 51, entered at 52.
    child("50", {"52"});
    aggregate("51", {"52"});
    aggregate("52", {"53"});
    aggregate("53", {"51"});
    EXPECT_TRUE(put("50", 100).stored);
    for (const char* id : {"51", "52", "53"}) {
        EXPECT_EQ(rowsOf(id), (std::vector<std::string>{"100" + now})) << id;
    }

    // A diamond: 60 feeds 61 and 62, which both feed 63.
    child("60", {"61", "62"});
    aggregate("61", {"63"});
    aggregate("62", {"63"});
    aggregate("63", {});
    EXPECT_TRUE(put("60", 100).stored);
    EXPECT_EQ(rowsOf("61"), (std::vector<std::string>{"100" + now}));
    EXPECT_EQ(rowsOf("62"), (std::vector<std::string>{"100" + now}));
    EXPECT_EQ(rowsOf("63").back(), "200" + now);

    // The game names board 70 as "070"; its aggregate links back to 70.
    child("070", {"71"});
    child("70", {"71"});
    aggregate("71", {"70"});
    EXPECT_TRUE(put("070", 100).stored);
    EXPECT_EQ(rowsOf("71"), (std::vector<std::string>{"100" + now}));
    EXPECT_EQ(rowsOf("70"), (std::vector<std::string>{"100:p"}));  // the table holds it as 70
}

// Aggregates that reach each other through links form one loop: each of
// them gains, once, what every link entering the loop carries, and passes
// its own change on once along each link leaving it. Walking every path
// instead left each aggregate of the tangle below at 13,700 for a score of 1.
TEST_F(LocalHighScoreStoreTest, AggregatesThatReachEachOtherGainWhatEntersTheirLoopOncePerLink)
{
    const std::string now = ":" + std::to_string(kStart);
    auto board = [&](const std::string& id, bool aggregate, std::vector<std::string> parents) {
        boards->boards[id] = {true, false, aggregate};
        boards->parents[id] = std::move(parents);
    };

    // Board 100 feeds eight aggregates, 101 to 108, each linked to all.
    std::vector<std::string> tangle;
    for (int id = 101; id <= 108; ++id) {
        tangle.push_back(std::to_string(id));
    }
    board("100", false, tangle);
    for (const auto& id : tangle) {
        board(id, true, tangle);
    }
    EXPECT_TRUE(put("100", 1).stored);
    EXPECT_TRUE(put("100", 3).stored);  // 2 more, by each of the eight links
    for (const auto& id : tangle) {
        EXPECT_EQ(rowsOf(id), (std::vector<std::string>{"8" + now, "24" + now})) << id;
    }

    // Board 80 enters the two-link cycle 81 <-> 82 at both aggregates; both
    // feed 83, which gains each one's change.
    board("80", false, {"81", "82"});
    board("81", true, {"82", "83"});
    board("82", true, {"81", "83"});
    board("83", true, {});
    EXPECT_TRUE(put("80", 100).stored);
    EXPECT_EQ(rowsOf("81"), (std::vector<std::string>{"200" + now}));
    EXPECT_EQ(rowsOf("82"), (std::vector<std::string>{"200" + now}));
    EXPECT_EQ(rowsOf("83"), (std::vector<std::string>{"400" + now}));

    // A link listed twice, once as "091", is one link.
    board("90", false, {"91", "091"});
    board("91", true, {});
    EXPECT_TRUE(put("90", 100).stored);
    EXPECT_EQ(rowsOf("91"), (std::vector<std::string>{"100" + now}));
}

TEST_F(LocalHighScoreStoreTest, AdoptingRowsWithoutAUserMergesAndLeavesOnePendingPerBoard)
{
    // The player's own rows, and rows stored before anyone logged in (user 0)
    // that clash with them on board and score. On board 2 the server holds
    // a better score than the orphans' unsent ones: it must not retire them.
    put("1", 700, "1001", kStart);
    put("1", 650);  // worse: stored as sent
    put("2", 80, "1001", kStart);
    put("1", 700, "0", std::nullopt, platform::Data::fromString("blob"));
    put("1", 900, "0");
    put("2", 40, "0");
    ASSERT_TRUE(scoretest::exec(db.handle(), "INSERT INTO high_scores (user_id, leaderboard_id, score) VALUES (0, 2, 60)"));

    ASSERT_TRUE(store->prepareResend("1001"));
    EXPECT_TRUE(rowsOf("1", "0").empty());
    EXPECT_TRUE(rowsOf("2", "0").empty());
    EXPECT_EQ(rowsOf("1"), (std::vector<std::string>{"650:" + std::to_string(kStart), "700:" + std::to_string(kStart),
                                                    "900:p"}));
    EXPECT_EQ(rowsOf("2"), (std::vector<std::string>{"40:1000", "60:p", "80:" + std::to_string(kStart)}));
    // The clashing orphan's blob went to the row that stayed.
    EXPECT_EQ(rowOf("1", 700).blobBytes, 4u);
    auto pending = store->pendingRows("1001");
    ASSERT_EQ(pending.size(), 2u);
}

TEST_F(LocalHighScoreStoreTest, ReadsNullTextsAsNilAndRowsBestFirst)
{
    ASSERT_TRUE(scoretest::exec(db.handle(), "INSERT INTO high_scores (user_id, leaderboard_id, score, display_text, "
                                             "custom_data) VALUES (1001, 3, 12, NULL, '')"));
    put("3", 9);
    put("3", 30, "1001", kStart);
    auto rows = store->highScores("1001", "3", false, 10);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].score, 9);
    EXPECT_EQ(rows[2].score, 30);
    EXPECT_FALSE(rows[1].displayText.has_value());
    EXPECT_EQ(rows[1].customData, std::optional<std::string>(""));
    EXPECT_FALSE(rows[1].blob);
    EXPECT_EQ(store->previousBest("1001", "3", false), std::optional<std::int64_t>(9));
    EXPECT_FALSE(store->previousBest("1002", "3", false).has_value());
}

TEST_F(LocalHighScoreStoreTest, AFailedStepLeavesTheTableAsItWas)
{
    put("1", 300);
    // Aggregate 9 cannot be written (its rows are refused), so the child's
    // write must not stay half done either.
    ASSERT_TRUE(scoretest::exec(db.handle(), "CREATE TRIGGER refuse BEFORE INSERT ON high_scores WHEN "
                                             "NEW.leaderboard_id = 9 BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    auto outcome = put("1", 800);
    EXPECT_FALSE(outcome.stored);
    EXPECT_EQ(rowsOf("1"), (std::vector<std::string>{"300:p"}));
    EXPECT_EQ(rowsOf("9"), (std::vector<std::string>{"300:" + std::to_string(kStart)}));
}

}  // namespace

// The local copy of the leaderboards: what an "offline" block writes, and
// what the score code reads back from it.
#include <gtest/gtest.h>

#include "core/replies/HCPaginatedSeries.h"
#include "kernel/callbacks/HCDelegate.h"
#include "scores/leaderboards/HCLeaderboard.h"
#include "kernel/xml/HCXmlDocument.h"
#include "scores/leaderboards/HCLeaderboardAggregation.h"
#include "scores/leaderboards/HCLeaderboard_Sync.h"
#include "scores/offline/HCOffline.h"
#include "scores/support/OfflineStoreFixture.h"
#include "scores/support/SqlPeek.h"

using testsupport::sqlExec;
using testsupport::sqlRows;
using testsupport::sqlValue;

namespace {

std::string board(const std::string& id, const std::string& fields)
{
    return "<leaderboard><id>" + id + "</id>" + fields + "</leaderboard>";
}

std::string link(const std::string& aggregate, const std::string& child)
{
    return "<leaderboard_aggregation><aggregate_leaderboard_id>" + aggregate +
           "</aggregate_leaderboard_id><leaderboard_pushing_changes_id>" + child +
           "</leaderboard_pushing_changes_id></leaderboard_aggregation>";
}

class LeaderboardCopyTest : public testsupport::OfflineStoreFixture {
protected:
    // The block read as the bootstrap reads it, through the offline map.
    std::shared_ptr<HCOffline> offline(const std::string& leaderboards, const std::string& links)
    {
        auto document = HCXmlDocument::xmlDocumentWithData(
            "<resources><offline><leaderboards>" + leaderboards + "</leaderboards><leaderboard_aggregations>" +
            links + "</leaderboard_aggregations></offline></resources>");
        auto series =
            HCResource::resourcesFromXml(*document, HCOfflineService::sharedInstance()->getKnownResources().get());
        return series && series->count() ? platform::as<HCOffline>(series->objectAtIndex(0)) : nullptr;
    }

    template <class T>
    static std::vector<std::shared_ptr<T>> all(const std::shared_ptr<platform::Array>& array)
    {
        std::vector<std::shared_ptr<T>> items;
        for (const auto& item : array->items()) items.push_back(platform::as<T>(item));
        return items;
    }

    bool synch(const std::shared_ptr<HCOffline>& block, const std::optional<std::string>& user, bool setTime)
    {
        return HCLeaderboardService::synchLeaderboardsList(all<HCLeaderboard_Sync>(block->leaderboards()),
                                                           all<HCLeaderboardAggregation>(block->leaderboardAggregations()),
                                                           user, setTime);
    }

    static constexpr const char* kActive =
        "<name>Points</name><active>1</active><visible>1</visible><descending_sort_order>1</descending_sort_order>"
        "<start_version>0000.00.00</start_version><end_version>9999.99.99</end_version>";
};

TEST_F(LeaderboardCopyTest, DefinitionsAndParentsReadBackAsWritten)
{
    testsupport::ScopedManualClock clock(1'800'000'000);
    auto block = offline(board("10", kActive) +
                             board("20", "<name>Total</name><active>1</active><is_aggregate>1</is_aggregate>"
                                         "<allow_posting_lower_scores>1</allow_posting_lower_scores>") +
                             board("30", "<name>Old total</name><active>0</active><is_aggregate>1</is_aggregate>"),
                         link("20", "10") + link("30", "10") + link("99", "10") + link("", "10"));
    ASSERT_TRUE(block);
    ASSERT_EQ(block->leaderboards()->count(), 3u);
    ASSERT_TRUE(synch(block, "7", true));

    auto details = HCLeaderboardService::getLeaderboardDetails("10");
    ASSERT_TRUE(details);
    EXPECT_EQ(details->name(), "Points");
    EXPECT_TRUE(details->descendingSortOrder());
    EXPECT_FALSE(details->isAggregate());
    EXPECT_EQ(details->startVersion(), "0000.00.00");
    EXPECT_FALSE(HCLeaderboardService::getLeaderboardDetails("11"));
    EXPECT_FALSE(HCLeaderboardService::getLeaderboardDetails(std::nullopt));

    // The inactive aggregate and the unknown one are not parents; the link
    // without an aggregate id was never written.
    auto parents = HCLeaderboardService::getAggregateParents("10");
    ASSERT_EQ(parents.size(), 1u);
    EXPECT_EQ(parents[0]->resourceId(), "20");
    EXPECT_TRUE(parents[0]->allowPostingLowerScores());
    EXPECT_TRUE(parents[0]->isAggregate());
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM leaderboard_aggregations"), "3");
    EXPECT_TRUE(HCLeaderboardService::getAggregateParents("20").empty());

    EXPECT_EQ(sqlValue(db(), "SELECT DISTINCT server_sync_at FROM leaderboards"), "1800000000");
    EXPECT_TRUE(HCLeaderboardService::hasLeaderboards());
}

TEST_F(LeaderboardCopyTest, ListedOnlyWhenActiveVisibleAndInsideTheVersionRange)
{
    EXPECT_FALSE(HCLeaderboardService::hasLeaderboards());
    ASSERT_TRUE(synch(offline(board("1", "<active>1</active><visible>0</visible><start_version>0000.00.00</"
                                         "start_version><end_version>9999.99.99</end_version>") +
                                  board("2", "<active>1</active><visible>1</visible><start_version>0001.03.00</"
                                             "start_version><end_version>9999.99.99</end_version>") +
                                  board("3", "<active>1</active><visible>1</visible><start_version>0000.00.00</"
                                             "start_version><end_version>0001.01.00</end_version>"),
                              ""),
                      std::nullopt, false));
    EXPECT_FALSE(HCLeaderboardService::hasLeaderboards());
    EXPECT_TRUE(HCLeaderboardService::getLeaderboardDetails("2"));
    HCSettings::Instance()->setObject("1.4", HCSettings::kBundleVersionKey);
    stopStore();
    startStore();
    EXPECT_TRUE(HCLeaderboardService::hasLeaderboards());
}

TEST_F(LeaderboardCopyTest, LastSyncIsTheEarlierOfScoresAndDefinitions)
{
    // Nothing confirmed yet: 1970.
    EXPECT_EQ(HCLeaderboardService::getLastSyncDateForUserId("7"), "1970-01-01 00:00:00");
    EXPECT_EQ(HCLeaderboardService::getLastSyncDateUnixForUserId("7"), "0");

    ASSERT_TRUE(sqlExec(db(), "INSERT INTO high_scores (user_id, leaderboard_id, score, server_sync_at) VALUES "
                              "(7, 10, 5, 1700000100), (7, 10, 6, NULL), (8, 10, 9, 1700000500)"));
    // Definitions from the configuration file carry no time: scores alone count.
    ASSERT_TRUE(synch(offline(board("10", kActive), ""), std::nullopt, false));
    EXPECT_EQ(sqlValue(db(), "SELECT server_sync_at FROM leaderboards"), "NULL");
    EXPECT_EQ(HCLeaderboardService::getLastSyncDateUnixForUserId("7"), "1700000100");
    EXPECT_EQ(HCLeaderboardService::getLastSyncDateForUserId("7"), "2023-11-14 22:15:00");

    {
        testsupport::ScopedManualClock clock(1'700'000'050);
        ASSERT_TRUE(synch(offline(board("10", kActive), ""), "7", true));
    }
    EXPECT_EQ(HCLeaderboardService::getLastSyncDateUnixForUserId("7"), "1700000050");
    EXPECT_EQ(HCLeaderboardService::getLastSyncDateUnixForUserId("9"), "0");
}

TEST_F(LeaderboardCopyTest, ServerScoresAreRecordedConfirmedEvenWhenTheirDateDoesNotRead)
{
    testsupport::ScopedManualClock clock(1'800'000'000);
    std::vector<HCServerScore> recorded;
    HCOfflineHooks hooks;
    hooks.recordServerScore = [&](const HCServerScore& score) {
        recorded.push_back(score);
        return true;
    };
    HCOfflineService::setHooks(hooks);

    auto block = offline(board("10", std::string(kActive) +
                                         "<score>500</score><reached_at>2026-03-01 10:20:30</reached_at>"
                                         "<display_text>500 pts</display_text><custom_data></custom_data>") +
                             board("11", std::string(kActive) + "<score>40</score><reached_at>last week</reached_at>") +
                             board("12", std::string(kActive) + "<score>0</score>"),
                         "");
    // The configuration file records no score.
    ASSERT_TRUE(synch(block, std::nullopt, false));
    EXPECT_TRUE(recorded.empty());

    ASSERT_TRUE(synch(block, "7", true));
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_EQ(recorded[0].leaderboardId, "10");
    EXPECT_EQ(recorded[0].score, 500);
    EXPECT_EQ(recorded[0].displayText, "500 pts");
    EXPECT_EQ(recorded[0].customData, std::nullopt);
    ASSERT_TRUE(recorded[0].serverDate);
    EXPECT_EQ(recorded[0].serverDate->timeIntervalSince1970(), 1772360430.0);
    EXPECT_EQ(recorded[1].leaderboardId, "11");
    ASSERT_TRUE(recorded[1].serverDate);
    EXPECT_EQ(recorded[1].serverDate->timeIntervalSince1970(), 1'800'000'000.0);

    // A score the store refuses leaves the definitions written.
    hooks.recordServerScore = [](const HCServerScore&) { return false; };
    HCOfflineService::setHooks(hooks);
    ASSERT_TRUE(sqlExec(db(), "DELETE FROM leaderboards"));
    EXPECT_TRUE(synch(block, "7", true));
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM leaderboards"), "3");
}

TEST_F(LeaderboardCopyTest, RecordsWhoseIdsOrScoresAreNotIntegersAreSkipped)
{
    std::vector<std::string> recorded;
    HCOfflineHooks hooks;
    hooks.recordServerScore = [&](const HCServerScore& score) {
        recorded.push_back(score.leaderboardId + ":" + std::to_string(score.score));
        return true;
    };
    HCOfflineService::setHooks(hooks);
    const std::string active = kActive;
    auto block = offline(board("NaN", active + "<score>5</score>") +
                             board("10", active + "<score>9223372036854775808</score>") +
                             board("11", active + "<score>1e308</score>") + board("12", active + "<score>NaN</score>") +
                             board("13", active + "<score>40</score>"),
                         link("NaN", "10") + link("20", "1.5") + link("20", "10"));
    ASSERT_TRUE(synch(block, "7", true));
    EXPECT_EQ(sqlRows(db(), "SELECT id FROM leaderboards ORDER BY id"),
              (std::vector<std::string>{"10", "11", "12", "13"}));
    EXPECT_EQ(sqlRows(db(), "SELECT aggregate_leaderboard_id, leaderboard_pushing_changes_id FROM "
                            "leaderboard_aggregations"),
              (std::vector<std::string>{"20|10"}));
    EXPECT_EQ(recorded, (std::vector<std::string>{"13:40"}));

    // A player whose id is not an integer gets no scores; the definitions
    // are written all the same.
    recorded.clear();
    ASSERT_TRUE(sqlExec(db(), "DELETE FROM leaderboards"));
    ASSERT_TRUE(synch(block, "NaN", true));
    EXPECT_TRUE(recorded.empty());
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM leaderboards"), "4");
}

TEST_F(LeaderboardCopyTest, ABoardKeepsItsSortOrderWhenABlockHasNoReadableOne)
{
    ASSERT_TRUE(synch(offline(board("10", kActive) +
                                  board("11", "<name>Time</name><descending_sort_order>0</descending_sort_order>"),
                              ""),
                      "7", true));
    // Missing, garbage, or empty for a board the copy does not know yet.
    ASSERT_TRUE(synch(offline(board("10", "<name>Points 2</name><active>1</active>") +
                                  board("11", "<name>Time</name><descending_sort_order>yes</descending_sort_order>") +
                                  board("12", "<name>New</name><descending_sort_order></descending_sort_order>"),
                              ""),
                      "7", true));
    EXPECT_EQ(sqlRows(db(), "SELECT id, name, descending_sort_order FROM leaderboards ORDER BY id"),
              (std::vector<std::string>{"10|Points 2|1", "11|Time|0", "12|New|0"}));
    // A readable order is taken.
    ASSERT_TRUE(synch(offline(board("10", "<descending_sort_order>false</descending_sort_order>") +
                                  board("11", "<descending_sort_order>true</descending_sort_order>"),
                              ""),
                      std::nullopt, false));
    EXPECT_EQ(sqlRows(db(), "SELECT id, descending_sort_order FROM leaderboards ORDER BY id"),
              (std::vector<std::string>{"10|0", "11|1", "12|0"}));
}

}  // namespace

namespace {

class LeaderboardListOfflineTest : public LeaderboardCopyTest {};

TEST_F(LeaderboardListOfflineTest, OfflineTheListIsTheVisibleActiveCopyInRowOrderAtOnce)
{
    ASSERT_TRUE(synch(offline(board("30", kActive) + board("10", kActive) +
                                  board("20", "<name>Hidden</name><active>1</active><visible>0</visible>"),
                              ""),
                      std::nullopt, false));
    std::shared_ptr<HCPaginatedSeries> listed;
    int failures = 0;
    auto handle = HCLeaderboardService::getLeaderboardsForApplication(
        std::nullopt, std::string("1002"),
        HCDelegate::withFunction([&](const platform::ObjectPtr& reply) { listed = platform::as<HCPaginatedSeries>(reply); }),
        HCDelegate::withFunction([&](const platform::ObjectPtr&) { ++failures; }));
    EXPECT_FALSE(handle);
    ASSERT_TRUE(testsupport::runMainUntil([&] { return listed != nullptr; }));
    EXPECT_EQ(failures, 0);
    std::vector<std::string> ids;
    for (const auto& object : listed->objects()) {
        auto leaderboard = platform::as<HCLeaderboard>(object);
        ASSERT_TRUE(leaderboard);
        ids.push_back(leaderboard->leaderboardId().value_or("?") + ":" + leaderboard->name().value_or("?") +
                      (leaderboard->descendingScoreOrder() ? " desc" : " asc"));
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"30:Points desc", "10:Points desc"}));
    // The hidden board is still found by id, without scores.
    auto hidden = HCLeaderboardService::getLeaderboard("20");
    ASSERT_TRUE(hidden);
    EXPECT_EQ(hidden->name(), "Hidden");
    EXPECT_FALSE(hidden->currentUserScore());
    EXPECT_FALSE(HCLeaderboardService::getLeaderboard("99"));
}

}  // namespace

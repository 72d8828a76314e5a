// The bootstrap reply's "offline" block applied where the reply is read, on
// the provider's request thread: every write runs on that thread's own
// connection (the main connection's checker reports any other use), and a
// main-thread write made meanwhile waits its turn instead of failing.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "core/bootstrap/HCBootstrap.h"
#include "core/bootstrap/HCBootstrapService.h"
#include "core/replies/HCPaginatedSeries.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "kernel/sql/HCSqlTransaction.h"
#include "kernel/xml/HCXmlDocument.h"
#include "platform/runtime/Thread.h"
#include "scores/offline/HCOffline.h"
#include "scores/offline/HCOfflineBootstrapSync.h"
#include "scores/offline/HCUserService+Private.h"
#include "scores/support/OfflineStoreFixture.h"
#include "scores/support/SqlPeek.h"
#include "transport/provider/HCProvider.h"

using testsupport::sqlRows;
using testsupport::sqlValue;

namespace {

constexpr const char* kReply =
    "<resources><bootstrap><access_token>t</access_token><user><id>7</id><name>Ada</name>"
    "<profile_picture_url>http://pics/7.png</profile_picture_url></user></bootstrap>"
    "<offline><achievements><achievement><id>1</id></achievement></achievements>"
    "<leaderboards><leaderboard><id>10</id><name>Points</name><active>1</active><visible>1</visible>"
    "<descending_sort_order>1</descending_sort_order><score>500</score>"
    "<reached_at>2026-03-01 10:20:30</reached_at></leaderboard>"
    "<leaderboard><id>20</id><name>Total</name><active>1</active><is_aggregate>1</is_aggregate></leaderboard>"
    "</leaderboards><leaderboard_aggregations><leaderboard_aggregation><aggregate_leaderboard_id>20"
    "</aggregate_leaderboard_id><leaderboard_pushing_changes_id>10</leaderboard_pushing_changes_id>"
    "</leaderboard_aggregation></leaderboard_aggregations></offline></resources>";

class OfflineBootstrapSyncTest : public testsupport::OfflineStoreFixture {
protected:
    void SetUp() override
    {
        OfflineStoreFixture::SetUp();
        provider = HCProvider::providerWithProductKey("product-key", "product-secret");
        HCService::setProvider(provider);
        HCBootstrapService::setOfflineSync(sync);
        HCBootstrapService::initializeService();
    }
    void TearDown() override
    {
        provider->cleanupRequestThread();
        HCBootstrapService::shutdownService();
        HCBootstrapService::setOfflineSync(nullptr);
        HCService::setProvider(nullptr);
        HCSqlQuery::setBusySleeper(nullptr);
        OfflineStoreFixture::TearDown();
    }

    // Runs `work` on the request thread and waits for it.
    void onRequestThread(std::function<void()> work)
    {
        auto done = std::make_shared<std::atomic<bool>>(false);
        provider->requestThread()->runLoop()->post([work, done] {
            work();
            *done = true;
        });
        ASSERT_TRUE(testsupport::runMainUntil([&] { return done->load(); }));
    }

    std::shared_ptr<HCPaginatedSeries> reply(const std::string& text = kReply)
    {
        auto document = HCXmlDocument::xmlDocumentWithData(text);
        return HCResource::resourcesFromXml(*document,
                                            HCBootstrapService::sharedInstance()->getKnownResources().get());
    }

    std::shared_ptr<HCProvider> provider;
    std::shared_ptr<HCOfflineBootstrapSync> sync = std::make_shared<HCOfflineBootstrapSync>();
};

TEST_F(OfflineBootstrapSyncTest, TheBlockIsWrittenOnTheRequestThreadsConnection)
{
    std::vector<std::string> achievementCalls;
    std::vector<std::string> scores;
    HCOfflineHooks hooks;
    hooks.synchAchievementsList = [&](const std::shared_ptr<platform::Array>& list, const std::optional<std::string>& user) {
        achievementCalls.push_back(user.value_or("nil") + (list ? " list" : " nil") +
                                   (HCOfflineDatabase::isRequestThread() ? " request" : " main"));
        return true;
    };
    hooks.recordServerScore = [&](const HCServerScore& score) {
        scores.push_back(score.userId + "/" + score.leaderboardId + "/" + std::to_string(score.score) +
                         (HCOfflineDatabase::isRequestThread() ? " request" : " main"));
        return true;
    };
    HCOfflineService::setHooks(hooks);

    auto series = reply();
    ASSERT_EQ(series->count(), 2u);
    auto bootstrap = platform::as<HCBootstrap>(series->objectAtIndex(0));
    ASSERT_TRUE(platform::as<HCOffline>(series->objectAtIndex(1)));
    {
        testsupport::ScopedManualClock clock(1'800'000'000);
        onRequestThread([&] { sync->syncOfflineData(series->objectAtIndex(1), bootstrap); });
    }

    EXPECT_EQ(sqlRows(db(), "SELECT id, name, profile_picture_url FROM users"),
              (std::vector<std::string>{"7|Ada|http://pics/7.png"}));
    EXPECT_EQ(sqlRows(db(), "SELECT id, server_sync_at FROM leaderboards ORDER BY id"),
              (std::vector<std::string>{"10|1800000000", "20|1800000000"}));
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM leaderboard_aggregations"), "1");
    EXPECT_EQ(achievementCalls, (std::vector<std::string>{"7 list request"}));
    EXPECT_EQ(scores, (std::vector<std::string>{"7/10/500 request"}));

    // The main thread reads the player back on its own connection.
    ASSERT_TRUE(HCUserServicePrivate::getLocalUser("7"));

    // A confirmed score older than the definitions' sync sets the date.
    ASSERT_TRUE(testsupport::sqlExec(db(), "INSERT INTO high_scores (user_id, leaderboard_id, score, server_sync_at) "
                                           "VALUES (7, 10, 500, 1700000000)"));
    // The request carries both sync dates: the achievements' from their
    // service (1970 while it is not built), the leaderboards' from the copy.
    HCHttpNestedQueryStringWriter writer;
    sync->getBootstrapCallParams(writer, std::string("7"));
    std::vector<std::string> sent;
    for (const auto& parameter : writer.getQueryParametersAsURLRequestParameters())
        sent.push_back(parameter.name() + "=" + parameter.value());
    EXPECT_EQ(sent, (std::vector<std::string>{"achievements_sync_date=1970-01-01 00:00:00",
                                              "leaderboards_sync_date=2023-11-14 22:13:20"}));
}

TEST_F(OfflineBootstrapSyncTest, APlayerWhoseIdIsNotAnIntegerIsNotRecorded)
{
    std::vector<std::string> achievementUsers;
    int scores = 0;
    HCOfflineHooks hooks;
    hooks.synchAchievementsList = [&](const std::shared_ptr<platform::Array>&, const std::optional<std::string>& user) {
        achievementUsers.push_back(user.value_or("nil"));
        return true;
    };
    hooks.recordServerScore = [&](const HCServerScore&) {
        ++scores;
        return true;
    };
    HCOfflineService::setHooks(hooks);
    std::string text = kReply;
    text.replace(text.find("<id>7</id>"), 10, "<id>NaN</id>");
    auto series = reply(text);
    ASSERT_EQ(series->count(), 2u);
    onRequestThread([&] {
        sync->syncOfflineData(series->objectAtIndex(1), platform::as<HCBootstrap>(series->objectAtIndex(0)));
    });
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM users"), "0");
    EXPECT_EQ(scores, 0);
    EXPECT_EQ(achievementUsers, (std::vector<std::string>{"nil"}));
    // The definitions are written all the same.
    EXPECT_EQ(sqlValue(db(), "SELECT COUNT(*) FROM leaderboards"), "2");
    EXPECT_FALSE(HCUserServicePrivate::createLocalUser("NaN", "Ada", std::nullopt));
}

TEST_F(OfflineBootstrapSyncTest, AMainThreadWriteWaitsForTheRequestThreadsTransaction)
{
    std::mutex mutex;
    std::condition_variable changed;
    bool holding = false;
    bool release = false;
    bool committed = false;
    int waits = 0;
    // The main thread's busy wait lets the request thread commit.
    HCSqlQuery::setBusySleeper([&](double) {
        std::unique_lock lock(mutex);
        ++waits;
        release = true;
        changed.notify_all();
        changed.wait(lock, [&] { return committed; });
    });
    auto done = std::make_shared<std::atomic<bool>>(false);
    provider->requestThread()->runLoop()->post([&, done] {
        HCSqlTransaction transaction(HCOfflineDatabase::handleForCurrentThread());
        bool written = transaction.begin() && HCUserServicePrivate::createLocalUser("7", "Ada", std::nullopt);
        {
            std::unique_lock lock(mutex);
            holding = true;
            changed.notify_all();
            changed.wait(lock, [&] { return release; });
        }
        if (written) transaction.commit();
        {
            std::lock_guard lock(mutex);
            committed = true;
            changed.notify_all();
        }
        *done = true;
    });
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return holding; });
    }
    EXPECT_TRUE(HCUserServicePrivate::createLocalUser("8", "Ben", std::nullopt));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return done->load(); }));
    EXPECT_GE(waits, 1);
    EXPECT_EQ(sqlRows(db(), "SELECT id, name FROM users ORDER BY id"), (std::vector<std::string>{"7|Ada", "8|Ben"}));
}

}  // namespace

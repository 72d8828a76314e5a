#pragma once
// A live server with the score, storage and score-reading routes over one
// store, a local score table on two handles with fake leaderboards (1 and
// 3 higher first, 2 lower first), the high-score service up, and player
// 1001 logged in and online. Scores are seeded straight into the server's
// store.
#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "core/clientstate/HCClientState.h"
#include "core/halcyon/Halcyon.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/replies/HCTableSectionDescription.h"
#include "e2e/support/LiveServerTest.h"
#include "kernel/sql/HCSqlDatabase.h"
#include "localserver/routes/ScoreQueryRoutes.h"
#include "localserver/routes/ScoreRoutes.h"
#include "localserver/routes/StorageRoutes.h"
#include "scores/highscores/HCHighScore.h"
#include "scores/highscores/HCHighScoreService.h"
#include "support/LocalScoreTable.h"

class HighScoreServerTest : public LiveServerTest {
protected:
    void SetUp() override
    {
        LiveServerTest::SetUp();
        bucket = localserver::registerStorageRoutes(*server);
        scores = localserver::registerScoreRoutes(*server, bucket);
        localserver::registerScoreQueryRoutes(*server, scores, bucket,
                                              [](const std::string& board) { return board != "2"; });
        server->setClock([this] { return serverNow.load(); });
        const std::string file = sandbox.str() + "/halcyon_offline";
        ASSERT_TRUE(mainDb.open(file));
        ASSERT_TRUE(bootstrapDb.open(file));
        ASSERT_TRUE(scoretest::exec(mainDb.handle(), "PRAGMA journal_mode=WAL"));
        ASSERT_TRUE(scoretest::exec(mainDb.handle(), scoretest::kCreateHighScores));
        boards = std::make_shared<scoretest::FakeLeaderboards>();
        boards->boards["1"] = {true, false, false};
        boards->boards["2"] = {false, false, false};
        boards->boards["3"] = {true, false, false};
        HCHighScoreService::initializeService();
        HCHighScoreService::setupOfflineSupport({mainDb.handle(), boards, bootstrapDb.handle(), boards});
        HCClientStateQueries queries;
        queries.lastLoggedInUserId = [] { return std::optional<std::string>("1001"); };
        queries.isOnline = [this] { return online.load(); };
        HCClientState::setQueries(queries);
        Halcyon::setUserApprovedHalcyon();
    }
    void TearDown() override
    {
        HCHighScoreService::teardownOfflineSupport();
        HCHighScoreService::shutdownService();
        HCClientState::setQueries({});
        LiveServerTest::TearDown();
    }

    // A score as the server would have accepted it `age` seconds ago.
    localserver::StoredScore seed(const std::string& user, const std::string& board, std::int64_t score,
                                  std::int64_t age = 0)
    {
        localserver::StoredScore posted;
        posted.userId = user;
        posted.leaderboardId = board;
        posted.score = score;
        posted.acceptedAt = serverNow.load() - age;
        return scores->accept(posted);
    }
    // The requests that reached `path`, in order.
    std::vector<localserver::LoggedRequest> requestsTo(const std::string& path) const
    {
        std::vector<localserver::LoggedRequest> found;
        for (auto& entry : server->log().entries()) {
            if (entry.request.path == path) found.push_back(entry);
        }
        return found;
    }
    static std::vector<std::shared_ptr<HCHighScore>> highScoresOf(const std::shared_ptr<HCPaginatedSeries>& series)
    {
        std::vector<std::shared_ptr<HCHighScore>> found;
        if (!series) return found;
        for (const auto& object : series->objects()) {
            if (auto score = platform::as<HCHighScore>(object)) found.push_back(score);
        }
        return found;
    }
    static std::vector<std::int64_t> valuesOf(const std::vector<std::shared_ptr<HCHighScore>>& list)
    {
        std::vector<std::int64_t> values;
        for (const auto& score : list) values.push_back(score->score());
        return values;
    }

    std::atomic<std::int64_t> serverNow{1700000000};
    std::shared_ptr<localserver::StorageBucket> bucket;
    std::shared_ptr<localserver::ScoreStore> scores;
    HCSqlDatabase mainDb;
    HCSqlDatabase bootstrapDb;
    std::shared_ptr<scoretest::FakeLeaderboards> boards;
    std::atomic<bool> online{true};
};

// Both sides: the log-in's last step, which hands the player's pending scores to the re-send, until the
// service has confirmed every one (HCHighScoreService::sendPendingHighScores against the local server, 1,000 and
// 100,000 scores pending | the same with none pending).
//
// The offline database's main connection (write-ahead logging,
// synchronous=FULL) holds one pending score of the player on each of N
// boards, the leaderboard copy knows the boards, the provider is signed in
// as the local server's first player, and the server takes every batch.
// Measured on the main thread, which also runs the game's frames: the call
// the log-in makes when it is logged in (the frame that says so), the
// longest run-loop turn from then until the last batch is confirmed (the
// longest frozen frame; the replies are read on the request thread), the
// main thread's busy time over all turns, the wall time until every score is
// confirmed, and how much the process's peak resident memory grew (the
// cases run smallest first, so each one's growth is its own). Run it with
// "--pending=N" for one case only.
#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchCommandLine.h"
#include "ScratchFolder.h"
#include "core/clientstate/HCClientState.h"
#include "core/halcyon/Halcyon.h"
#include "kernel/settings/HCSettings.h"
#include "localserver/Fixtures.h"
#include "localserver/Server.h"
#include "localserver/routes/ScoreRoutes.h"
#include "localserver/routes/StorageRoutes.h"
#include "platform/foundation/Sandbox.h"
#include "platform/runtime/RunLoop.h"
#include "platform/runtime/Thread.h"
#include "scores/highscores/HCHighScoreService.h"
#include "scores/offline/HCOfflineDatabase.h"
#include "scores/offline/HCOfflineSchema.h"
#include "transport/provider/HCProvider.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

long peakResidentKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

bool seed(sqlite3* db, int count)
{
    if (count == 0) return true;
    const std::string numbers = "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                                std::to_string(count - 1) + ") ";
    return sqlite3_exec(db,
                        (numbers + "INSERT INTO leaderboards (id, name, descending_sort_order, active, is_aggregate, "
                                   "visible, allow_posting_lower_scores, start_version, end_version) SELECT 1000 + i, "
                                   "'Board', 1, 1, 0, 1, 0, '0', '9' FROM n")
                            .c_str(),
                        nullptr, nullptr, nullptr) == SQLITE_OK &&
           sqlite3_exec(db,
                        (numbers + "INSERT INTO high_scores (user_id, leaderboard_id, score, display_text) SELECT " +
                         localserver::defaults::kUserId + ", 1000 + i, 500 + i, (500 + i) || ' points' FROM n")
                            .c_str(),
                        nullptr, nullptr, nullptr) == SQLITE_OK;
}

int pendingRows(sqlite3* db)
{
    sqlite3_stmt* count = nullptr;
    sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM high_scores WHERE server_sync_at IS NULL", -1, &count, nullptr);
    const int rows = sqlite3_step(count) == SQLITE_ROW ? sqlite3_column_int(count, 0) : -1;
    sqlite3_finalize(count);
    return rows;
}

struct Figures {
    double loggedInFrameMs = 0;
    double longestTurnMs = 0;
    double mainThreadBusyMs = 0;
    double untilConfirmedMs = 0;
    long peakGrowthKb = 0;
    std::size_t batches = 0;
    bool allConfirmed = false;
};

bool run(int pending, Figures& figures)
{
    const std::string sandbox = bench::scratchFolder() + "/pending-" + std::to_string(pending);
    std::filesystem::remove_all(sandbox);
    std::filesystem::create_directories(sandbox);
    platform::Sandbox::configure(sandbox);
    auto database = HCOfflineDatabase::open(HCOfflineDatabase::defaultPath());
    HCOfflineDatabase::setCurrent(database);
    sqlite3* db = database->mainConnection().handle();
    if (!HCOfflineSchema::setup(database->mainConnection()).all() || !seed(db, pending)) return false;
    auto provider = HCProvider::providerWithProductKey(localserver::defaults::kProductKey,
                                                       localserver::defaults::kProductSecret);
    provider->setAccessToken(localserver::defaults::kUserToken, localserver::defaults::kUserTokenSecret);
    HCService::setProvider(provider);
    HCHighScoreService::initializeService();

    auto loop = platform::Thread::mainThread()->runLoop();
    bool ended = false;
    auto end = HCDelegate::withFunction([&](const platform::ObjectPtr&) { ended = true; });
    const long peakBefore = peakResidentKilobytes();
    const auto start = Clock::now();
    const bool started = HCHighScoreService::sendPendingHighScores(localserver::defaults::kUserId, true, end, end) != nullptr;
    figures.loggedInFrameMs = millisecondsSince(start);
    ended = ended || !started;
    const auto deadline = Clock::now() + std::chrono::minutes(5);
    while (!ended && Clock::now() < deadline) {
        const auto turn = Clock::now();
        if (loop->runOnce() > 0) {
            const double ms = millisecondsSince(turn);
            figures.longestTurnMs = std::max(figures.longestTurnMs, ms);
            figures.mainThreadBusyMs += ms;
        }
    }
    figures.untilConfirmedMs = millisecondsSince(start);
    figures.peakGrowthKb = peakResidentKilobytes() - peakBefore;
    figures.allConfirmed = ended && pendingRows(db) == 0;

    HCHighScoreService::shutdownService();
    provider->cleanupRequestThread();
    HCService::setProvider(nullptr);
    HCOfflineDatabase::setCurrent(nullptr);
    database.reset();
    std::filesystem::remove_all(sandbox);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (auto status = checkBenchCommandLine(argc, argv)) return *status;
    platform::Thread::adoptCurrentAsMain();
    platform::Sandbox::configure(bench::scratchFolder());
    localserver::Server server;
    localserver::registerServiceRoutes(server);
    auto scores = localserver::registerScoreRoutes(server, localserver::registerStorageRoutes(server));
    if (!server.start()) {
        std::fprintf(stderr, "local server: %s\n", server.error().c_str());
        return 1;
    }
    HCSettings::setDefaultOverride("server-url", server.serviceRootUrl());
    HCSettings::Initialize();
    Halcyon::setUserApprovedHalcyon();
    HCClientStateQueries queries;
    queries.lastLoggedInUserId = [] { return std::optional<std::string>(localserver::defaults::kUserId); };
    queries.isOnline = [] { return true; };
    HCClientState::setQueries(queries);

    const auto only = benchSize(argc, argv, "pending");
    std::vector<int> cases = only ? std::vector<int>{*only} : std::vector<int>{0, 1000, 100000};
    std::printf("%-10s %16s %16s %16s %18s %14s %8s\n", "pending", "logged-in frame", "longest turn",
                "main busy", "all confirmed", "peak growth", "batches");
    int status = 0;
    for (int pending : cases) {
        Figures figures;
        scores->clear();
        const auto postsBefore = server.log().size();
        if (!run(pending, figures) || !figures.allConfirmed) {
            std::fprintf(stderr, "%d pending: not every score was confirmed\n", pending);
            status = 1;
        }
        figures.batches = server.log().size() - postsBefore;
        std::printf("%-10d %13.2f ms %13.2f ms %13.1f ms %15.1f ms %11.1f MB %8zu\n", pending,
                    figures.loggedInFrameMs, figures.longestTurnMs, figures.mainThreadBusyMs,
                    figures.untilConfirmedMs, static_cast<double>(figures.peakGrowthKb) / 1024.0, figures.batches);
    }
    HCClientState::setQueries({});
    HCSettings::Shutdown();
    server.stop();
    platform::Sandbox::reset();
    return status;
}

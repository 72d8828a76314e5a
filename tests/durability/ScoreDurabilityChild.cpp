// The game's side of the durability test: a client process on a real
// sandbox, driven line by line on stdin by the test, which kills it with
// SIGKILL at chosen moments. It answers on stdout:
//   stored B S | notstored B S   the game was told (not) stored
//   resend started | resend nothing
//   batch ok | batch failed      a re-send's batch ended
//   advanced | ok                a command done
// Commands: "user ID" (log in as ID: its token signs requests; 0 for
// nobody), "online 0|1", "submit BOARD SCORE", "advance SECONDS" (the
// process's manual clock), "resend", "settle BOARD SCORE" (answers once the
// score's batch has ended), "sync BOARD SCORE" (the bootstrap's
// leaderboard copy with the server's score), "killat commit N" (SIGKILL inside the
// N-th next commit of the main connection), "seed N" (N pending scores of the
// player, one each on boards 1000 onwards, made known to the local copy),
// "quit".
// Achievements (1 to 3 are the game's): "progress ID PERCENT" answers
// "progressed ID PERCENT" or "notprogressed ID PERCENT"; "resendachievements"
// answers "achievements started" or "achievements nothing", then
// "achievements ok" or "achievements failed"; "syncachievement ID PERCENT"
// (the bootstrap's definitions with the server's progress) answers
// "achsynced ok" or "achsynced failed".
//
// Arguments: SANDBOX SERVICE_ROOT_URL [N]. The client opens the offline
// database in the sandbox's Documents folder, brings it to the current
// layout and writes the game's leaderboards into its copy; with N it is
// killed inside the N-th commit of that set-up (an upgrade cut short).
#include <signal.h>
#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

#include "core/clientstate/HCClientState.h"
#include "core/halcyon/Halcyon.h"
#include "kernel/settings/HCSettings.h"
#include "localserver/Fixtures.h"
#include "platform/foundation/Sandbox.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"
#include "platform/runtime/Thread.h"
#include "scores/achievements/HCAchievement.h"
#include "scores/achievements/HCAchievementService.h"
#include "scores/highscores/HCHighScoreService.h"
#include "scores/leaderboards/HCLeaderboardService.h"
#include "scores/leaderboards/HCLeaderboard_Sync.h"
#include "scores/offline/HCOfflineDatabase.h"
#include "scores/offline/HCOfflineService.h"
#include "scores/offline/HCOfflineSchema.h"
#include "support/LocalScoreTable.h"
#include "transport/provider/HCProvider.h"

namespace {

std::atomic<int> commitsUntilKill{0};

int onCommit(void*)
{
    if (commitsUntilKill.load() > 0 && --commitsUntilKill == 0) {
        raise(SIGKILL);
    }
    return 0;
}

void say(const std::string& line)
{
    std::cout << line << std::endl;
}

HCDelegate tell(const std::string& line)
{
    return HCDelegate::withFunction([line](const platform::ObjectPtr&) { say(line); });
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        return 2;
    }
    platform::Thread::adoptCurrentAsMain();
    auto clock = std::make_shared<platform::ManualClock>(1767225600.0);
    platform::Clock::install(clock);
    platform::Sandbox::configure(argv[1]);
    HCSettings::setDefaultOverride("server-url", argv[2]);
    HCSettings::Initialize();
    Halcyon::setUserApprovedHalcyon();

    auto database = HCOfflineDatabase::open(HCOfflineDatabase::defaultPath());
    HCOfflineDatabase::setCurrent(database);
    sqlite3* db = database->mainConnection().handle();
    sqlite3_commit_hook(db, onCommit, nullptr);
    commitsUntilKill = argc > 3 ? std::atoi(argv[3]) : 0;
    if (!HCOfflineSchema::setup(database->mainConnection()).all()) {
        return 3;
    }
    // The game's boards: 1 descending, 2 descending taking lower scores,
    // 3 ascending, 9 the aggregate of 1.
    if (!scoretest::exec(db, "REPLACE INTO leaderboards (id, name, descending_sort_order, active, is_aggregate, "
                             "visible, allow_posting_lower_scores, start_version, end_version) VALUES "
                             "(1, 'Score', 1, 1, 0, 1, 0, '0000.00.00', '9999.99.99'), "
                             "(2, 'Last game', 1, 1, 0, 1, 1, '0000.00.00', '9999.99.99'), "
                             "(3, 'Time', 0, 1, 0, 1, 0, '0000.00.00', '9999.99.99'), "
                             "(9, 'Total', 1, 1, 1, 1, 0, '0000.00.00', '9999.99.99')") ||
        !scoretest::exec(db, "REPLACE INTO leaderboard_aggregations (aggregate_leaderboard_id, "
                             "leaderboard_pushing_changes_id) VALUES (9, 1)") ||
        !scoretest::exec(db, "REPLACE INTO achievement_definitions (id, title, gamerscore, position, start_version, "
                             "end_version) VALUES (1, 'One', 10, 1, '0000.00.00', '9999.99.99'), (2, 'Two', 20, 2, "
                             "'0000.00.00', '9999.99.99'), (3, 'Three', 30, 3, '0000.00.00', '9999.99.99')")) {
        return 4;
    }
    commitsUntilKill = 0;

    std::shared_ptr<HCProvider> provider;
    std::string userId = "0";
    bool online = false;
    auto logIn = [&](const std::string& id) {
        if (provider) {
            provider->cleanupRequestThread();
        }
        userId = id;
        provider = HCProvider::providerWithProductKey(localserver::defaults::kProductKey,
                                                      localserver::defaults::kProductSecret);
        if (id == localserver::defaults::kUserId) {
            provider->setAccessToken(localserver::defaults::kUserToken, localserver::defaults::kUserTokenSecret);
        } else if (id == localserver::defaults::kOtherUserId) {
            provider->setAccessToken(localserver::defaults::kOtherUserToken,
                                     localserver::defaults::kOtherUserTokenSecret);
        }
        HCService::setProvider(provider);
    };
    logIn("0");
    HCClientStateQueries queries;
    queries.lastLoggedInUserId = [&] { return std::optional<std::string>(userId); };
    queries.isOnline = [&] { return online; };
    HCClientState::setQueries(queries);
    HCHighScoreService::initializeService();
    HCAchievementService::initializeService();
    HCOfflineHooks hooks;
    hooks.recordServerScore = &HCHighScoreService::recordServerScore;
    HCOfflineService::setHooks(hooks);

    auto loop = platform::Thread::mainThread()->runLoop();
    auto handle = [&](const std::string& line) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        if (command == "user") {
            std::string id;
            words >> id;
            logIn(id);
            say("ok");
        } else if (command == "online") {
            int value = 0;
            words >> value;
            online = value != 0;
            say("ok");
        } else if (command == "submit") {
            std::string board;
            long long score = 0;
            words >> board >> score;
            const std::string what = board + " " + std::to_string(score);
            HCHighScoreService::setHighScore(score, board, true, tell("stored " + what), tell("notstored " + what));
        } else if (command == "advance") {
            double seconds = 0;
            words >> seconds;
            clock->advance(seconds);
            loop->post([] { say("advanced"); });
        } else if (command == "resend") {
            auto started = HCHighScoreService::sendPendingHighScores(userId, true, tell("batch ok"), tell("batch failed"));
            say(started ? "resend started" : "resend nothing");
        } else if (command == "progress") {
            std::string id;
            std::string percent;
            words >> id >> percent;
            const std::string what = id + " " + percent;
            HCAchievementService::updateAchievement(id, std::stod(percent), false, tell("progressed " + what),
                                                    tell("notprogressed " + what));
        } else if (command == "resendachievements") {
            auto started = HCAchievementService::sendPendingAchievements(userId, true, tell("achievements ok"),
                                                                         tell("achievements failed"));
            say(started ? "achievements started" : "achievements nothing");
        } else if (command == "syncachievement") {
            std::string id;
            double percent = 0;
            words >> id >> percent;
            auto achievement = HCResource::initWithId<HCAchievement>(id);
            achievement->setStartVersion(std::string("0000.00.00"));
            achievement->setEndVersion(std::string("9999.99.99"));
            achievement->setPercentComplete(percent);
            const bool synced = HCAchievementService::synchAchievementsList({achievement}, userId);
            say(synced ? "achsynced ok" : "achsynced failed");
        } else if (command == "killat") {
            std::string what;
            int count = 0;
            words >> what >> count;
            commitsUntilKill = count;
            say("ok");
        } else if (command == "sync") {
            // The bootstrap's leaderboard copy, with the server's score of
            // the player on board BOARD.
            std::string board;
            std::string score;
            words >> board >> score;
            auto sync = HCResource::initWithId<HCLeaderboard_Sync>(board);
            sync->setActive("1");
            sync->setDescendingSortOrder("1");
            sync->setVisible("1");
            sync->setStartVersion(std::string("0000.00.00"));
            sync->setEndVersion(std::string("9999.99.99"));
            sync->setScore(score);
            sync->setReachedAt(std::string("2026-01-01 00:00:00"));
            const bool synced = HCLeaderboardService::synchLeaderboardsList({sync}, {}, userId, true);
            say(synced ? "synced ok" : "synced failed");
        } else if (command == "settle") {
            // Answers once the score's batch has ended (it is no longer in flight).
            std::string board;
            long long score = 0;
            words >> board >> score;
            auto check = std::make_shared<std::function<void()>>();
            *check = [&, board, score, check] {
                if (HCHighScoreService::sharedInstance()->isInFlight(userId, board, score)) {
                    loop->post(*check);
                } else {
                    say("settled");
                    *check = nullptr;
                }
            };
            (*check)();
        } else if (command == "seed") {
            int count = 0;
            words >> count;
            const std::string numbers = "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                                        std::to_string(count - 1) + ") ";
            const bool seeded =
                scoretest::exec(db, numbers + "INSERT OR REPLACE INTO leaderboards (id, name, descending_sort_order, "
                                              "active, is_aggregate, visible, allow_posting_lower_scores, "
                                              "start_version, end_version) SELECT 1000 + i, 'Board', 1, 1, 0, 1, 0, "
                                              "'0000.00.00', '9999.99.99' FROM n") &&
                scoretest::exec(db, numbers + "INSERT INTO high_scores (user_id, leaderboard_id, score) SELECT " +
                                        userId + ", 1000 + i, 100 + i FROM n");
            say(seeded ? "seeded" : "notseeded");
        } else if (command == "quit") {
            loop->stop();
        }
    };
    std::thread reader([&] {
        std::string line;
        while (std::getline(std::cin, line)) {
            platform::performOnMain([&handle, line] { handle(line); });
        }
        platform::performOnMain([&] { loop->stop(); });
    });
    loop->run();
    // The test ends the process by closing stdin or killing it; leave at once.
    say("bye");
    std::fflush(stdout);
    _exit(0);
}

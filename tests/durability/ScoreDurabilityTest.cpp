// Scores that are never lost: a client process submits scores and is killed
// (SIGKILL) at each step of a score's way to the server; the server fails
// batches with 5xx, dropped connections and time-outs; the player stays
// offline for three days and players switch with scores pending. Then a new
// client on the same sandbox logs in and re-sends, and the server must hold,
// exactly once, the best score of every player and board that the game was
// told was stored (the store sends only that one: the rest are kept on the
// device as the player's ten best).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <random>
#include <sstream>

#include "localserver/Server.h"
#include "localserver/routes/AchievementRoutes.h"
#include "localserver/routes/ScoreRoutes.h"
#include "localserver/routes/StorageRoutes.h"
#include "support/LocalScoreTable.h"
#include "support/TestSupport.h"

extern char** environ;

namespace {

constexpr const char* kPath = "client_applications/@me/high_scores.xml";

// One client process with its stdin and stdout as pipes.
class ClientProcess {
public:
    ClientProcess(const std::string& sandbox, const std::string& root, const std::string& killAtSetupCommit = {})
    {
        int toChild[2];
        int fromChild[2];
        if (pipe(toChild) != 0 || pipe(fromChild) != 0) {
            ADD_FAILURE() << "pipe";
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toChild[0], 0);
        posix_spawn_file_actions_adddup2(&actions, fromChild[1], 1);
        posix_spawn_file_actions_addclose(&actions, toChild[1]);
        posix_spawn_file_actions_addclose(&actions, fromChild[0]);
        std::string program = HC_DURABILITY_CHILD;
        std::vector<char*> argv{program.data(), const_cast<char*>(sandbox.c_str()), const_cast<char*>(root.c_str())};
        if (!killAtSetupCommit.empty()) {
            argv.push_back(const_cast<char*>(killAtSetupCommit.c_str()));
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
            ADD_FAILURE() << "cannot start " << program;
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(toChild[0]);
        close(fromChild[1]);
        in_ = toChild[1];
        out_ = fromChild[0];
        fcntl(in_, F_SETFD, FD_CLOEXEC);
        fcntl(out_, F_SETFD, FD_CLOEXEC);
    }
    ~ClientProcess()
    {
        if (pid_ > 0) {
            kill();
        }
        close(in_);
        close(out_);
    }

    void send(const std::string& line)
    {
        const std::string text = line + "\n";
        ASSERT_EQ(write(in_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    // The next line that starts with `prefix` (earlier ones are skipped);
    // empty when the process ended or the wall-time bound passed.
    std::string expect(const std::string& prefix, bool mustArrive = true, int boundSeconds = 20)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(boundSeconds);
        while (std::chrono::steady_clock::now() < deadline) {
            auto newline = buffer_.find('\n');
            if (newline != std::string::npos) {
                std::string line = buffer_.substr(0, newline);
                buffer_.erase(0, newline + 1);
                seen_.push_back(line);
                if (line.rfind(prefix, 0) == 0) {
                    return line;
                }
                continue;
            }
            pollfd fd{out_, POLLIN, 0};
            if (poll(&fd, 1, 100) > 0) {
                char chunk[512];
                const ssize_t got = read(out_, chunk, sizeof chunk);
                if (got <= 0) {
                    break;
                }
                buffer_.append(chunk, static_cast<std::size_t>(got));
            }
        }
        if (mustArrive) {
            // The client's last words say which step went another way.
            std::string last;
            for (std::size_t i = seen_.size() > 8 ? seen_.size() - 8 : 0; i < seen_.size(); ++i) {
                last += "\n  " + seen_[i];
            }
            ADD_FAILURE() << "the client never said \"" << prefix << "\"; it said last:" << last;
        }
        return {};
    }
    std::string command(const std::string& line, const std::string& answer = "ok")
    {
        send(line);
        return expect(answer);
    }
    void kill()
    {
        ::kill(pid_, SIGKILL);
        wait();
    }
    // Ends the process the normal way: its input closes.
    void quit()
    {
        close(in_);
        in_ = -1;
        wait();
    }
    // Waits (bounded) for the process to end by itself: its output closes.
    void waitForEnd()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd fd{out_, POLLIN, 0};
            if (poll(&fd, 1, 100) > 0) {
                char chunk[512];
                if (read(out_, chunk, sizeof chunk) <= 0) {
                    break;
                }
            }
        }
        wait();
    }
    bool wasKilled() const { return killed_; }
    // Whether the process has said this line so far.
    bool saw(const std::string& line) const { return std::find(seen_.begin(), seen_.end(), line) != seen_.end(); }

private:
    void wait()
    {
        int status = 0;
        waitpid(pid_, &status, 0);
        killed_ = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        pid_ = -1;
    }

    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::string buffer_;
    std::vector<std::string> seen_;
    bool killed_ = false;
};

// What the game was told was stored, by player and board.
class Ledger {
public:
    void told(const std::string& user, const std::string& board, long long score)
    {
        ++submissions_;
        auto& best = best_[{user, board}];
        const bool ascending = board == "3";
        if (!best || (ascending ? score < *best : score > *best)) {
            best = score;
        }
    }
    void notTold() { ++submissions_; }
    // Scores stored for nobody belong to the first player who re-sends.
    void adopt(const std::string& user)
    {
        for (auto it = best_.begin(); it != best_.end();) {
            if (it->first.first == "0") {
                const std::string board = it->first.second;
                const long long score = *it->second;
                it = best_.erase(it);
                --submissions_;
                told(user, board, score);
            } else {
                ++it;
            }
        }
    }
    int submissions() const { return submissions_; }
    const std::map<std::pair<std::string, std::string>, std::optional<long long>>& best() const { return best_; }

private:
    int submissions_ = 0;
    std::map<std::pair<std::string, std::string>, std::optional<long long>> best_;
};

class ScoreDurabilityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        server = std::make_unique<localserver::Server>();
        localserver::registerServiceRoutes(*server);
        scores = localserver::registerScoreRoutes(*server, localserver::registerStorageRoutes(*server));
        ASSERT_TRUE(server->start()) << server->error();
    }
    void TearDown() override { server->stop(); }

    std::unique_ptr<ClientProcess> client(const std::string& user, bool online)
    {
        auto process = std::make_unique<ClientProcess>(sandbox.str(), server->serviceRootUrl());
        process->command("user " + user);
        process->command(std::string("online ") + (online ? "1" : "0"));
        return process;
    }
    void submit(ClientProcess& process, const std::string& user, const std::string& board, long long score)
    {
        process.send("submit " + board + " " + std::to_string(score));
        const std::string answer = process.expect("stored " + board + " " + std::to_string(score));
        if (answer.empty()) {
            ledger.notTold();
        } else {
            ledger.told(user, board, score);
        }
    }
    void killNow(ClientProcess& process)
    {
        process.kill();
        EXPECT_TRUE(process.wasKilled());
        ++kills;
    }
    std::size_t batchesPosted() const
    {
        std::size_t count = 0;
        for (const auto& entry : server->log().entries()) {
            count += entry.request.path == kPath ? 1 : 0;
        }
        return count;
    }
    bool waitForPosts(std::size_t count)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (batchesPosted() < count && std::chrono::steady_clock::now() < deadline) {
            server->log().waitForSize(server->log().size() + 1, std::chrono::milliseconds(50));
        }
        return batchesPosted() >= count;
    }

    testsupport::TempDir sandbox;
    std::unique_ptr<localserver::Server> server;
    std::shared_ptr<localserver::ScoreStore> scores;
    Ledger ledger;
    int kills = 0;
    int windowKills = 0;  // kills after the server accepted, before the client heard
};

TEST_F(ScoreDurabilityTest, EveryStoredBestReachesTheServerOnceThroughKillsFailuresAndDaysOffline)
{
    const std::string ann = "1001";
    const std::string ben = "1002";

    {   // Killed right after the local write, offline.
        auto process = client(ann, false);
        submit(*process, ann, "1", 500);
        killNow(*process);
    }
    {   // Killed while the batch waits for its 0.05 s.
        auto process = client(ann, true);
        submit(*process, ann, "1", 600);
        killNow(*process);
    }
    {   // Killed during the POST: the server holds the request, then drops it.
        auto process = client(ann, true);
        server->faults().injectFor("POST", kPath, localserver::Fault::delayed(std::chrono::seconds(60),
                                                                              localserver::Fault::dropConnection()));
        submit(*process, ann, "1", 700);
        const auto before = batchesPosted();
        process->command("advance 0.05", "advanced");
        ASSERT_TRUE(waitForPosts(before + 1));
        killNow(*process);
        server->faults().interruptWaits();
        server->faults().allowWaits();
    }
    {   // Killed after the server stored the batch, before the reply arrived.
        struct Gate {
            std::mutex mutex;
            std::condition_variable changed;
            bool entered = false;
            bool release = false;
        };
        auto gate = std::make_shared<Gate>();
        scores->setAcceptHook([gate](const std::vector<localserver::StoredScore>&) {
            std::unique_lock lock(gate->mutex);
            gate->entered = true;
            gate->changed.notify_all();
            gate->changed.wait_for(lock, std::chrono::seconds(20), [&] { return gate->release; });
        });
        auto process = client(ann, true);
        submit(*process, ann, "1", 800);
        process->command("advance 0.05", "advanced");
        {
            std::unique_lock lock(gate->mutex);
            ASSERT_TRUE(gate->changed.wait_for(lock, std::chrono::seconds(20), [&] { return gate->entered; }));
        }
        killNow(*process);
        ++windowKills;
        scores->setAcceptHook(nullptr);
        {
            std::lock_guard lock(gate->mutex);
            gate->release = true;
        }
        gate->changed.notify_all();
    }
    {   // Killed inside the write's transaction (the game is never told),
        // then inside the write-back's transaction after the server took it.
        auto process = client(ann, true);
        process->command("killat commit 1");
        process->send("submit 1 900");
        process->waitForEnd();  // it dies before it can answer
        EXPECT_TRUE(process->wasKilled());
        ++kills;
        ledger.notTold();
        process = client(ann, true);
        submit(*process, ann, "3", 40);
        process->command("killat commit 1");
        process->send("advance 0.05");
        process->waitForEnd();
        EXPECT_TRUE(process->wasKilled());
        ++kills;
        ++windowKills;
    }
    {   // The server fails batches: 503, a dropped connection, a time-out.
        auto process = client(ann, true);
        server->faults().injectFor("POST", kPath, localserver::Fault::reply(503), 2);
        submit(*process, ann, "2", 100);
        process->command("advance 0.05", "advanced");
        process->command("settle 2 100", "settled");
        process->command("resend", "batch failed");
        server->faults().injectFor("POST", kPath, localserver::Fault::dropConnection());
        process->command("resend", "batch failed");
        server->faults().injectFor("POST", kPath, localserver::Fault::delayed(std::chrono::seconds(60)));
        const auto before = batchesPosted();
        process->command("resend", "resend started");
        ASSERT_TRUE(waitForPosts(before + 1));
        // The request's idle time-out counts from its last activity, which
        // the client may note a moment after the server saw the request:
        // the clock moves on until the time-out has fired.
        bool timedOut = false;
        for (int attempt = 0; attempt < 5 && !timedOut; ++attempt) {
            process->command("advance 31", "advanced");
            timedOut = process->saw("batch failed") || !process->expect("batch failed", false, 1).empty();
        }
        EXPECT_TRUE(timedOut);
        server->faults().interruptWaits();
        server->faults().allowWaits();
        process->quit();
    }
    {   // Three days offline, a score now and then.
        auto process = client(ann, false);
        submit(*process, ann, "2", 50);
        process->command("advance 86400", "advanced");
        submit(*process, ann, "2", 300);
        process->command("advance 86400", "advanced");
        submit(*process, ann, "3", 35);
        process->command("advance 86400", "advanced");
        process->quit();
    }
    {   // Players switch with scores pending: Ben, nobody, Ann.
        auto process = client(ben, false);
        submit(*process, ben, "1", 450);
        process->command("user 0");
        submit(*process, "0", "3", 20);
        process->command("user " + ann);
        submit(*process, ann, "3", 25);
        process->quit();
    }
    {   // Killed inside the bootstrap's synchronisation of the leaderboard copy.
        auto process = client(ann, true);
        process->command("killat commit 1");
        process->send("sync 1 950");
        process->waitForEnd();
        EXPECT_TRUE(process->wasKilled());
        ++kills;
    }
    {   // A new client logs in as Ann, then as Ben, and re-sends.
        ledger.adopt(ann);
        auto process = client(ann, true);
        process->command("resend", "batch ok");
        process->command("user " + ben);
        process->command("resend", "batch ok");
        process->command("user " + ann);
        process->command("resend", "resend nothing");
        process->quit();
    }

    int lost = 0;
    for (const auto& [key, best] : ledger.best()) {
        const auto& [user, board] = key;
        if (!scores->find(user, board, *best)) {
            ++lost;
            ADD_FAILURE() << "player " << user << " board " << board << ": " << *best << " never reached the server";
        }
    }
    std::size_t duplicates = 0;
    for (const auto& stored : scores->all()) {
        duplicates += static_cast<std::size_t>(stored.posts - 1);
    }
    std::printf("durability: submissions %d, kills %d, lost %d, duplicates %zu (re-posts after %d kills between "
                "the server's accept and the client's write-back)\n",
                ledger.submissions(), kills, lost, duplicates, windowKills);
    EXPECT_EQ(lost, 0);
    EXPECT_LE(duplicates, static_cast<std::size_t>(windowKills));
    EXPECT_EQ(ledger.best().size(), 4u);  // Ann on boards 1, 2, 3; Ben on board 1
}

// A month offline leaves thousands of scores pending, and their write-back
// after the log-in is cut short again and again: the client is killed inside
// the commit of a batch's confirmations, or after the server took a batch
// and before the client heard, at moments picked at random (the seed is
// printed). After every kill each score is on the device, either confirmed
// (and then the server holds it) or still pending, a batch's scores all
// alike; the service holds each
// score once however often it was posted; and a last log-in gets every one
// of them to the service.
TEST_F(ScoreDurabilityTest, AWriteBackKilledAtRandomMomentsLosesNoScoreAndCountsNoneTwice)
{
    const std::string ann = "1001";
    constexpr int kScores = 5000;  // five batches
    const unsigned seed = std::random_device{}();
    std::printf("durability: write-back kills seeded with %u\n", seed);
    std::mt19937 random(seed);
    {
        auto process = client(ann, false);
        process->command("seed " + std::to_string(kScores), "seeded");
        process->quit();
    }
    // What the device holds: every score of Ann's, confirmed ones on the
    // server. Answers how many are still pending.
    auto checkDevice = [&](const std::string& after) {
        HCSqlDatabase file;
        EXPECT_TRUE(file.open(sandbox.str() + "/Documents/halcyon_offline"));
        const auto rows = scoretest::rawRows(file.handle());
        EXPECT_EQ(rows.size(), static_cast<std::size_t>(kScores)) << after;
        int pending = 0;
        int confirmedNotOnServer = 0;
        for (const auto& row : rows) {
            pending += row.serverSyncAt ? 0 : 1;
            if (row.serverSyncAt && !scores->find(ann, row.leaderboardId, row.score)) ++confirmedNotOnServer;
        }
        EXPECT_EQ(confirmedNotOnServer, 0) << after;
        EXPECT_LE(scores->all().size(), static_cast<std::size_t>(kScores)) << after;
        return pending;
    };

    int inCommit = 0;
    int afterAccept = 0;
    int pending = kScores;
    for (int round = 0; round < 6 && pending > 0; ++round) {
        auto process = client(ann, true);
        const int batchesLeft = (pending + 999) / 1000;
        const bool killInCommit = std::uniform_int_distribution<int>(0, 1)(random) == 1;
        const int batch = std::uniform_int_distribution<int>(1, std::min(3, batchesLeft))(random);
        std::string moment;
        if (killInCommit) {
            moment = "inside the commit of write-back " + std::to_string(batch);
            process->command("killat commit " + std::to_string(batch));
            process->send("resend");
            process->waitForEnd();
            ++inCommit;
        } else {
            moment = "after the server took batch " + std::to_string(batch);
            struct Gate {
                std::mutex mutex;
                std::condition_variable changed;
                int accepted = 0;
                bool release = false;
            };
            auto gate = std::make_shared<Gate>();
            scores->setAcceptHook([gate, batch](const std::vector<localserver::StoredScore>&) {
                std::unique_lock lock(gate->mutex);
                if (++gate->accepted < batch) return;
                gate->changed.notify_all();
                gate->changed.wait_for(lock, std::chrono::seconds(20), [&] { return gate->release; });
            });
            process->send("resend");
            bool reached = false;
            {
                std::unique_lock lock(gate->mutex);
                reached = gate->changed.wait_for(lock, std::chrono::seconds(20), [&] { return gate->accepted >= batch; });
            }
            EXPECT_TRUE(reached) << moment;
            process->kill();
            scores->setAcceptHook(nullptr);
            {
                std::lock_guard lock(gate->mutex);
                gate->release = true;
            }
            gate->changed.notify_all();
            ++afterAccept;
        }
        EXPECT_TRUE(process->wasKilled()) << moment;
        pending = checkDevice("killed " + moment);
        // A batch's confirmations are on disk all together or not at all.
        EXPECT_EQ((kScores - pending) % 1000, 0) << moment;
    }
    {
        auto process = client(ann, true);
        process->send("resend");
        const std::string answer = process->expect("resend ");
        if (answer == "resend started") {
            process->expect("batch ok", true, 60);
        }
        process->quit();
    }
    EXPECT_EQ(checkDevice("the last log-in"), 0);
    EXPECT_EQ(scores->all().size(), static_cast<std::size_t>(kScores));
    // Only a batch the server took before the kill can be posted again.
    EXPECT_LE(scores->repostCount(), static_cast<std::size_t>((inCommit + afterAccept) * 1000));
    std::printf("durability: %d scores, %d kills inside a write-back's commit, %d after the server took a batch, "
                "%zu re-posted, lost 0\n",
                kScores, inCommit, afterAccept, scores->repostCount());
}

// Unlocks and progress go the same way: stored on the device first, then
// posted at once (an unlock, online) or with the upload after log-in. The
// client is killed after the local write, during the POST, after the server
// took it, and inside the bootstrap's write of the server's older progress;
// a new client then uploads. The server must hold at least every value the
// game was told was stored, and the device must never hold less.
TEST_F(ScoreDurabilityTest, EveryStoredProgressReachesTheServerAndNoneIsLoweredThroughKills)
{
    const std::string ann = "1001";
    auto achievements = localserver::registerAchievementRoutes(*server);
    const std::string path = "users/@me/unlocked_achievements.xml";
    // The progress the game was told was stored, by achievement: Ann's, and
    // nobody's from before the first log-in, which becomes hers.
    std::map<std::string, double> told;
    int progressKills = 0;
    auto progress = [&](ClientProcess& process, const std::string& id, const std::string& percent) {
        process.send("progress " + id + " " + percent);
        if (!process.expect("progressed " + id + " " + percent).empty()) {
            told[id] = std::max(told[id], std::stod(percent));
        }
    };
    auto serverHolds = [&](const std::string& id, double percent) {
        auto held = achievements->progress(ann, id);
        return held && held->percentComplete >= percent;
    };

    {   // Before anyone logged in, killed right after the local write.
        auto process = client("0", false);
        progress(*process, "1", "70");
        process->kill();
        ++progressKills;
    }
    {   // Killed right after the local write, offline.
        auto process = client(ann, false);
        progress(*process, "1", "40");
        process->kill();
        ++progressKills;
    }
    {   // Killed during the unlock's POST: the server holds it, then drops it.
        server->faults().injectFor("POST", path, localserver::Fault::delayed(std::chrono::seconds(60),
                                                                             localserver::Fault::dropConnection()));
        auto process = client(ann, true);
        const auto before = server->log().size();
        progress(*process, "2", "100");
        ASSERT_TRUE(server->log().waitForSize(before + 1, std::chrono::seconds(20)));
        process->kill();
        ++progressKills;
        server->faults().interruptWaits();
        server->faults().allowWaits();
    }
    {   // Killed once the server took the unlock, before (or while) the
        // client writes the reply back.
        auto process = client(ann, true);
        progress(*process, "3", "100");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!serverHolds("3", 100.0) && std::chrono::steady_clock::now() < deadline) {
            server->log().waitForSize(server->log().size() + 1, std::chrono::milliseconds(10));
        }
        ASSERT_TRUE(serverHolds("3", 100.0));
        process->kill();
        ++progressKills;
    }
    {   // Killed inside the bootstrap's write of the server's older progress
        // (10 % of achievement 1, below the 40 % still pending).
        auto process = client(ann, true);
        process->command("killat commit 1");
        process->send("syncachievement 1 10");
        process->waitForEnd();
        EXPECT_TRUE(process->wasKilled());
        ++progressKills;
        // And the same write run to its end keeps the higher pending value.
        process = client(ann, true);
        process->command("syncachievement 1 10", "achsynced ok");
        progress(*process, "1", "60");
        process->quit();
    }
    {   // A new client logs in and uploads what is pending.
        auto process = client(ann, true);
        process->command("resendachievements", "achievements started");
        process->expect("achievements ok");
        process->command("resendachievements", "achievements nothing");
        process->quit();
    }

    int lost = 0;
    for (const auto& [id, percent] : told) {
        if (!serverHolds(id, percent)) {
            ++lost;
            ADD_FAILURE() << "achievement " << id << ": " << percent << " % never reached the server";
        }
    }
    std::printf("durability: achievements: progress stored %zu, kills %d, lost %d\n", told.size(), progressKills,
                lost);
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(told, (std::map<std::string, double>{{"1", 70.0}, {"2", 100.0}, {"3", 100.0}}));
}

// The high-score table as older versions of the client left it, each with
// scores still pending: before the version table (no texts), version 1 (a
// display text) and version 2 (custom data; no blob yet).
struct OldLayout {
    const char* name;
    std::vector<std::string> statements;
};

std::vector<OldLayout> oldLayouts()
{
    const std::string rows = "(1001, 1, 300, NULL), (1001, 1, 250, 1600000000), (1001, 3, 70, NULL), (0, 1, 400, NULL)";
    return {
        {"before the version table",
         {"CREATE TABLE high_scores(user_id INTEGER NOT NULL, leaderboard_id INTEGER NOT NULL, score INTEGER DEFAULT "
          "0, server_sync_at INTEGER DEFAULT NULL, UNIQUE(leaderboard_id, user_id, score))",
          "INSERT INTO high_scores (user_id, leaderboard_id, score, server_sync_at) VALUES " + rows}},
        {"version 1",
         {"CREATE TABLE table_versions(name TEXT NOT NULL,version INTEGER NOT NULL,UNIQUE(name))",
          "INSERT INTO table_versions VALUES ('table_versions', 1), ('unlocked_achievements', 1), ('high_scores', 1)",
          "CREATE TABLE high_scores(user_id INTEGER NOT NULL, leaderboard_id INTEGER NOT NULL, score INTEGER DEFAULT "
          "0, display_text TEXT DEFAULT NULL, server_sync_at INTEGER DEFAULT NULL, UNIQUE(leaderboard_id, user_id, "
          "score))",
          "INSERT INTO high_scores (user_id, leaderboard_id, score, server_sync_at) VALUES " + rows}},
        {"version 2",
         {"CREATE TABLE table_versions(name TEXT NOT NULL,version INTEGER NOT NULL,UNIQUE(name))",
          "INSERT INTO table_versions VALUES ('table_versions', 1), ('unlocked_achievements', 3), ('high_scores', 2)",
          "CREATE TABLE high_scores(user_id INTEGER NOT NULL, leaderboard_id INTEGER NOT NULL, score INTEGER DEFAULT "
          "0, display_text TEXT DEFAULT NULL, custom_data TEXT DEFAULT NULL, server_sync_at INTEGER DEFAULT NULL, "
          "UNIQUE(leaderboard_id, user_id, score))",
          "INSERT INTO high_scores (user_id, leaderboard_id, score, server_sync_at) VALUES " + rows}},
    };
}

}  // namespace

TEST_F(ScoreDurabilityTest, OldLayoutsKeepTheirPendingScoresThroughAnUpgradeCutShortAtEachCommit)
{
    for (const auto& layout : oldLayouts()) {
        SCOPED_TRACE(layout.name);
        scores->clear();
        testsupport::TempDir home;
        {
            std::filesystem::create_directories(home.path() / "Documents");
            HCSqlDatabase old;
            ASSERT_TRUE(old.open((home.path() / "Documents" / "halcyon_offline").string()));
            for (const auto& statement : layout.statements) {
                ASSERT_TRUE(scoretest::exec(old.handle(), statement)) << statement;
            }
        }
        // Killed inside the first, second, ... commit of the upgrade, until a
        // start-up gets through.
        int cut = 0;
        for (int commit = 1; commit <= 12; ++commit) {
            ClientProcess process(home.str(), server->serviceRootUrl(), std::to_string(commit));
            process.send("online 0");
            if (!process.expect("ok", false).empty()) {
                process.quit();
                break;
            }
            process.waitForEnd();
            ASSERT_TRUE(process.wasKilled());
            ++cut;
        }
        EXPECT_GE(cut, 3);  // one commit per group of tables at least
        ClientProcess process(home.str(), server->serviceRootUrl());
        process.command("user 1001");
        process.command("online 1");
        process.command("resend", "batch ok");
        process.quit();
        // Ann's best on each board, the score stored for nobody included.
        const int lost = (scores->find("1001", "1", 400) ? 0 : 1) + (scores->find("1001", "3", 70) ? 0 : 1);
        EXPECT_EQ(lost, 0);
        EXPECT_EQ(scores->all().size(), 2u);
        std::printf("durability: %s upgraded after %d kills inside its commits, lost %d of 2\n", layout.name, cut,
                    lost);
    }
}

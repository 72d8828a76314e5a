// A benchmark program as ScratchFolderTest runs it: its scratch folder made
// first, with files two folders deep, then threads that run without end and
// allocate, as the library's and the cases' threads do; with --making-files
// more threads keep making and removing files and folders in the scratch
// folder, as SQLite makes a database's -wal and -shm files beside it. It
// prints the folder's path once they all run, then allocates too until a
// signal ends it, or, as its options say, returns a status from main or
// aborts. --starting-a-process first starts a process of its own (this
// program again, --saying-blocked-signals) that prints which ending signals
// it was started with blocked.
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "ScratchFolder.h"

extern char** environ;

namespace {

constexpr const char* kUsage =
    "usage: scratch_folder_child [--making-files] [--starting-a-process] [--exit=N | --abort]\n"
    "       scratch_folder_child --saying-blocked-signals\n"
    "  (ScratchFolderTest runs it; without --exit or --abort it runs until a signal ends it)\n";

std::atomic<int> running{0};
std::atomic<std::size_t> allocated{0};

// Strings of changing sizes made and freed, so that each thread is in
// malloc or free most of the time.
[[noreturn]] void allocateForever()
{
    running.fetch_add(1);
    for (std::size_t round = 0;; ++round) {
        std::vector<std::string> texts;
        for (std::size_t i = 0; i < 64; ++i) texts.emplace_back(16 + (round * 7 + i * 13) % 4000, 'x');
        allocated.fetch_add(texts.back().size(), std::memory_order_relaxed);
    }
}

// A database's companions made and removed by name, in a folder made again
// whenever it is found missing: whatever removes the scratch folder while
// this runs finds new files in it.
[[noreturn]] void makeFilesForever(const std::filesystem::path& folder, int thread)
{
    running.fetch_add(1);
    const std::filesystem::path sandbox = folder / ("sandbox-" + std::to_string(thread));
    for (std::size_t round = 0;; ++round) {
        std::error_code ignored;
        std::filesystem::create_directories(sandbox / "pending", ignored);
        const auto database = sandbox / "pending" / ("scores-" + std::to_string(round % 8) + ".db");
        for (const char* suffix : {"", "-wal", "-shm"}) std::ofstream(database.string() + suffix) << round;
        if (round % 2 == 0) std::filesystem::remove(database.string() + "-wal", ignored);
    }
}

// Which of the ending signals this process was started with blocked.
int sayBlockedSignals()
{
    sigset_t blocked;
    sigprocmask(SIG_BLOCK, nullptr, &blocked);
    std::string said;
    struct Named {
        int signal;
        const char* name;
    };
    for (const Named& named : {Named{SIGINT, "SIGINT"}, Named{SIGTERM, "SIGTERM"}, Named{SIGHUP, "SIGHUP"}})
        if (sigismember(&blocked, named.signal)) said += std::string(" ") + named.name;
    std::printf("blocked:%s\n", said.empty() ? " none" : said.c_str());
    return 0;
}

// Starts this program again to say its blocked signals, and waits for it.
bool startAProcess()
{
    char program[] = "/proc/self/exe";
    char option[] = "--saying-blocked-signals";
    char* argv[] = {program, option, nullptr};
    pid_t started = -1;
    int status = 0;
    std::fflush(stdout);
    return posix_spawn(&started, program, nullptr, nullptr, argv, environ) == 0 &&
           waitpid(started, &status, 0) == started && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    bool makingFiles = false, startingAProcess = false, aborting = false;
    int exitStatus = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--saying-blocked-signals" && argc == 2) return sayBlockedSignals();
        if (arg == "--making-files") {
            makingFiles = true;
        } else if (arg == "--starting-a-process") {
            startingAProcess = true;
        } else if (arg == "--abort") {
            aborting = true;
        } else if (arg.rfind("--exit=", 0) == 0 && arg.size() > 7 && arg.size() <= 9 &&
                   arg.find_first_not_of("0123456789", 7) == std::string::npos) {
            exitStatus = std::atoi(arg.c_str() + 7);
        } else {
            std::fprintf(stderr, "scratch_folder_child: unknown option: %s\n%s", arg.c_str(), kUsage);
            return 2;
        }
    }
    const std::filesystem::path folder = bench::scratchFolder();
    if (startingAProcess && !startAProcess()) {
        std::fprintf(stderr, "scratch_folder_child: the process it started failed\n");
        return 1;
    }
    std::filesystem::create_directories(folder / "sandbox" / "pending");
    std::ofstream(folder / "sandbox" / "pending" / "scores.db") << "a database the run was writing";
    std::ofstream(folder / "settings.plist") << "settings";
    constexpr int kAllocating = 4, kMakingFiles = 4;
    for (int i = 0; i < kAllocating; ++i) std::thread(allocateForever).detach();
    const int threads = kAllocating + (makingFiles ? kMakingFiles : 0);
    for (int i = kAllocating; i < threads; ++i) std::thread(makeFilesForever, folder, i).detach();
    while (running.load() < threads) std::this_thread::yield();
    std::printf("%s\n", folder.c_str());
    std::fflush(stdout);
    if (exitStatus >= 0) std::exit(exitStatus);
    if (aborting) {
        const rlimit none{0, 0};  // a crash on purpose leaves no core file
        setrlimit(RLIMIT_CORE, &none);
        std::abort();
    }
    allocateForever();
}

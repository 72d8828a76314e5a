// A benchmark program stopped from the keyboard (or by kill, or its
// terminal closing) while its threads allocate: it must end by that signal,
// soon, and leave no scratch folder. The child is ScratchFolderChild.cpp,
// built as the benchmark programs are, without sanitizers.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

extern char** environ;

namespace {

// Only bounds a wait that goes on while the child is not stuck.
constexpr int kBoundMilliseconds = 30000;

// The child, started with the ending signals at their defaults and
// unblocked (the test runner may have been started with them ignored), and
// the pipe it prints its folder on.
class InterruptedChild {
public:
    InterruptedChild()
    {
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t defaults;
        sigemptyset(&defaults);
        for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&defaults, signal);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
        std::string program = HC_SCRATCH_FOLDER_CHILD;
        char* argv[] = {program.data(), nullptr};
        if (posix_spawn(&pid_, program.c_str(), &actions, &attributes, argv, environ) != 0) pid_ = -1;
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        out_ = out[0];
        if (pid_ > 0) exited_ = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
    }
    ~InterruptedChild()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (!folder_.empty()) std::filesystem::remove_all(folder_);
        close(out_);
        close(exited_);
    }

    bool started() const { return pid_ > 0 && out_ >= 0 && exited_ >= 0; }

    // The folder's path, printed once its threads run; empty if it was not.
    const std::string& folderOnceRunning()
    {
        while (folder_.empty() || folder_.back() != '\n') {
            pollfd readable{out_, POLLIN, 0};
            char chunk[256];
            if (poll(&readable, 1, kBoundMilliseconds) != 1) break;
            const ssize_t got = read(out_, chunk, sizeof chunk);
            if (got <= 0) break;
            folder_.append(chunk, static_cast<std::size_t>(got));
        }
        if (!folder_.empty() && folder_.back() == '\n') folder_.pop_back();
        return folder_;
    }

    void send(int signal) { kill(pid_, signal); }

    // Its wait status once it ended; -1 if it had not within the bound.
    int statusOnceEnded()
    {
        pollfd ended{exited_, POLLIN, 0};
        if (poll(&ended, 1, kBoundMilliseconds) != 1) return -1;
        int status = 0;
        if (waitpid(pid_, &status, 0) != pid_) return -1;
        pid_ = -1;
        return status;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    int exited_ = -1;
    std::string folder_;
};

}  // namespace

// Each signal lands at whatever point the threads are at, often inside
// malloc: many rounds, so that one landing there is all but certain (a
// removal that could wait on malloc's lock hung four rounds in ten).
TEST(ScratchFolderTest, AnEndingSignalAmidAllocatingThreadsEndsTheProgramAndRemovesTheFolder)
{
    constexpr int kRounds = 30;
    constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
    for (int round = 0; round < kRounds; ++round) {
        const int signal = kSignals[round % 3];
        SCOPED_TRACE("round " + std::to_string(round) + ", " + strsignal(signal));
        InterruptedChild child;
        ASSERT_TRUE(child.started());
        const std::string folder = child.folderOnceRunning();
        ASSERT_FALSE(folder.empty()) << "the child did not start its threads";
        ASSERT_TRUE(std::filesystem::exists(std::filesystem::path(folder) / "sandbox" / "pending" / "scores.db"));

        child.send(signal);
        const int status = child.statusOnceEnded();

        ASSERT_NE(status, -1) << "still running " << kBoundMilliseconds / 1000 << " s after the signal";
        ASSERT_TRUE(WIFSIGNALED(status)) << "ended with status " << status;
        EXPECT_EQ(WTERMSIG(status), signal);
        EXPECT_FALSE(std::filesystem::exists(folder));
    }
}

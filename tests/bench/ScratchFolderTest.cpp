// A benchmark program stopped from the keyboard (or by kill, or its
// terminal closing) while its threads allocate or make files in its scratch
// folder, or one that returns or aborts meanwhile: it must end as it would
// have, soon, and leave no scratch folder; and a process it starts must not
// inherit the ending signals blocked. The child is ScratchFolderChild.cpp,
// built as the benchmark programs are, without sanitizers.
#include <gtest/gtest.h>

#include <errno.h>
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
#include <vector>

extern char** environ;

namespace {

// Only bounds a wait that goes on while the child is not stuck.
constexpr int kBoundMilliseconds = 30000;

// Why the test cannot wait on a child here, or empty: pidfd_open came with
// Linux 5.3, and a seccomp filter may refuse it.
std::string pidfdRefusal()
{
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, getpid(), 0));
    if (pidfd >= 0) {
        close(pidfd);
        return "";
    }
    if (errno != ENOSYS && errno != EPERM) return "";  // any other failure fails the test where it starts a child
    return std::string("pidfd_open, which the test waits on a child's end with, is refused here: ") +
           std::strerror(errno);
}

// The child with `args`, started with the ending signals at their defaults
// and unblocked (the test runner may have been started with them ignored),
// and the pipe it prints on.
class ChildProgram {
public:
    explicit ChildProgram(std::vector<std::string> args)
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
        std::vector<char*> argv{program.data()};
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, program.c_str(), &actions, &attributes, argv.data(), environ) != 0) pid_ = -1;
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        out_ = out[0];
        if (pid_ > 0) exited_ = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
    }
    ~ChildProgram()
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

    // The next line it printed; empty if it printed none.
    std::string nextLine()
    {
        auto end = printed_.find('\n');
        while (end == std::string::npos) {
            pollfd readable{out_, POLLIN, 0};
            char chunk[256];
            if (poll(&readable, 1, kBoundMilliseconds) != 1) return "";
            const ssize_t got = read(out_, chunk, sizeof chunk);
            if (got <= 0) return "";
            printed_.append(chunk, static_cast<std::size_t>(got));
            end = printed_.find('\n');
        }
        std::string line = printed_.substr(0, end);
        printed_.erase(0, end + 1);
        return line;
    }

    // The folder's path, printed once its threads run; empty if it was not.
    const std::string& folderOnceRunning()
    {
        folder_ = nextLine();
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
    std::string printed_;
    std::string folder_;
};

class ScratchFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const std::string why = pidfdRefusal(); !why.empty()) GTEST_SKIP() << why;
    }

    // Each signal lands at whatever point the threads are at: many rounds,
    // so that one landing inside malloc (a removal that could wait on its
    // lock hung four rounds in ten), or amid a file being made (a removal
    // racing it left the folder every time), is all but certain.
    static void interruptRounds(const std::vector<std::string>& args)
    {
        constexpr int kRounds = 30;
        constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
        for (int round = 0; round < kRounds; ++round) {
            const int signal = kSignals[round % 3];
            SCOPED_TRACE("round " + std::to_string(round) + ", " + strsignal(signal));
            ChildProgram child(args);
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
};

}  // namespace

TEST_F(ScratchFolderTest, AnEndingSignalAmidAllocatingThreadsEndsTheProgramAndRemovesTheFolder)
{
    interruptRounds({});
}

// As SQLite makes a database's -wal and -shm files while the signal comes:
// nothing may make a file in the folder once its removal began.
TEST_F(ScratchFolderTest, AnEndingSignalWhileThreadsMakeFilesInTheFolderEndsTheProgramAndRemovesTheFolder)
{
    interruptRounds({"--making-files"});
}

// The status main returned, or the abort's, is the program's, after the
// folder's removal, though threads were still making files in it.
TEST_F(ScratchFolderTest, AProgramThatReturnsOrAbortsAmidFilesBeingMadeEndsSoAndRemovesTheFolder)
{
    constexpr int kRounds = 10;
    for (int round = 0; round < kRounds; ++round) {
        const bool aborting = round % 2 == 1;
        SCOPED_TRACE("round " + std::to_string(round) + (aborting ? ", aborting" : ", returning 3"));
        ChildProgram child({"--making-files", aborting ? "--abort" : "--exit=3"});
        ASSERT_TRUE(child.started());
        const std::string folder = child.folderOnceRunning();
        ASSERT_FALSE(folder.empty()) << "the child did not start its threads";

        const int status = child.statusOnceEnded();

        ASSERT_NE(status, -1) << "still running " << kBoundMilliseconds / 1000 << " s after it printed its folder";
        if (aborting) {
            ASSERT_TRUE(WIFSIGNALED(status)) << "ended with status " << status;
            EXPECT_EQ(WTERMSIG(status), SIGABRT);
        } else {
            ASSERT_TRUE(WIFEXITED(status)) << "ended with status " << status;
            EXPECT_EQ(WEXITSTATUS(status), 3);
        }
        EXPECT_FALSE(std::filesystem::exists(folder));
    }
}

// Signal masks pass through fork and exec: a process started with the
// ending signals blocked would outlive Ctrl-C and kill.
TEST_F(ScratchFolderTest, AProcessTheProgramStartsHasNoEndingSignalBlocked)
{
    ChildProgram child({"--starting-a-process", "--exit=0"});
    ASSERT_TRUE(child.started());

    EXPECT_EQ(child.nextLine(), "blocked: none");
    EXPECT_FALSE(child.folderOnceRunning().empty());
    const int status = child.statusOnceEnded();
    ASSERT_TRUE(WIFEXITED(status)) << "ended with status " << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

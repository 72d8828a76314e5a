#pragma once
// The one folder for a benchmark program's files (sandboxes, databases), in
// the temporary folder, made on first use and removed when the program
// ends, however it ends but by SIGKILL: a return from main or exit() on an
// error, SIGINT, SIGTERM or SIGHUP (one ignored from the start, as a
// background job's SIGINT, stays ignored), or a crash.
//
// It is removed by another process, once nothing can make a file in it any
// more. While the program runs, any of its threads may make a file there
// at any moment (SQLite makes a database's -wal and -shm files beside it, a
// sandbox its folders again when they are missing): a removal beside them,
// however often it tries again, can be followed by one more file before
// the program's end, and stopping those threads first could stop one
// inside malloc with its lock held, for the removal to wait on for good.
// So the first use, once it made the folder, forks. The process the program
// was started as, whose pid the shell and kill know, only waits: it passes
// each ending signal it gets on to its child (Ctrl-C reaches both, as the
// terminal sends it to the whole process group) and, once the child has
// ended, with every thread it had, removes the folder and ends as the child
// did: with its exit status, or by the signal that ended it, raised again
// with its default action. The child returns from the first use and runs
// the benchmark, with the signals' actions and mask as the program was
// started with them, which every process it starts inherits; it dies with
// its parent (PR_SET_PDEATHSIG), so a parent killed by SIGKILL takes it
// along, and only then is the folder left behind.
//
// A process of one thread forks safely: the first use must come before any
// thread starts, first thing in main. One after that is refused.
//
// Thread: main thread, before any other thread starts; the parent's waiting
// and the removal run in the parent process, on its only thread.
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <system_error>

namespace bench {

namespace scratch {

// Whether the calling thread is the process's only one.
inline bool aloneInProcess()
{
    std::error_code error;
    const auto threads = std::distance(std::filesystem::directory_iterator("/proc/self/task", error),
                                       std::filesystem::directory_iterator());
    return !error && threads == 1;
}

// The signals the parent waits for: the ending ones the program was not
// started ignoring, and SIGCHLD.
inline sigset_t waitedSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction started {};
        if (sigaction(signal, nullptr, &started) == 0 && started.sa_handler != SIG_IGN) sigaddset(&signals, signal);
    }
    sigaddset(&signals, SIGCHLD);
    return signals;
}

// Ends the parent as `status` says the child ended.
[[noreturn]] inline void endAs(int status)
{
    if (!WIFSIGNALED(status)) _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 1);
    const int signal = WTERMSIG(status);
    // A core file, where the machine keeps them, is the child's to leave:
    // the parent's would be of a process that only waited.
    const rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigaction(signal, &byDefault, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
    _exit(128 + signal);  // the shell's way of saying it, should the signal not end a process
}

// The parent's part: passes the ending signals on to `child` until it
// ended, then removes `folder` and ends as the child did.
[[noreturn]] inline void waitForChild(pid_t child, const sigset_t& waited, const std::string& folder)
{
    for (;;) {
        siginfo_t info{};
        if (sigwaitinfo(&waited, &info) < 0) continue;  // EINTR: a stop and a continue
        if (info.si_signo != SIGCHLD) {
            kill(child, info.si_signo);
            continue;
        }
        int status = 0;
        const pid_t ended = waitpid(child, &status, WNOHANG);
        if (ended == 0 || (ended < 0 && errno == EINTR)) continue;  // it stopped or went on
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        if (ended < 0) _exit(1);
        endAs(status);
    }
}

// Makes the folder and forks; returns its path in the child, which runs
// the program on. Exits on a failure.
inline std::string makeAndFork()
{
    if (!aloneInProcess()) {
        std::fprintf(stderr, "%s: the scratch folder is made after a thread started: make it first in main\n",
                     HC_BENCH_PROGRAM);
        std::exit(1);
    }
    // Blocked before the folder exists: a signal from then on waits for the
    // parent to take it, which passes it on once the child is there.
    const sigset_t waited = waitedSignals();
    sigset_t startedMask;
    sigprocmask(SIG_BLOCK, &waited, &startedMask);
    // A program started with SIGCHLD ignored would have its child reaped
    // by the kernel, with no status to wait for.
    struct sigaction startedChild {}, byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigaction(SIGCHLD, &byDefault, &startedChild);

    std::string folder = (std::filesystem::temp_directory_path() / ("hc-" HC_BENCH_PROGRAM "-XXXXXX")).string();
    if (!mkdtemp(folder.data())) {
        std::fprintf(stderr, "%s: cannot make a scratch folder: %s\n", HC_BENCH_PROGRAM, folder.c_str());
        std::exit(1);
    }
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child < 0) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        std::fprintf(stderr, "%s: cannot start the benchmark's process\n", HC_BENCH_PROGRAM);
        std::exit(1);
    }
    if (child > 0) waitForChild(child, waited, folder);

    sigaction(SIGCHLD, &startedChild, nullptr);
    sigprocmask(SIG_SETMASK, &startedMask, nullptr);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) raise(SIGKILL);  // the parent was killed before that took hold
    return folder;
}

}  // namespace scratch

inline const std::string& scratchFolder()
{
    static const std::string folder = scratch::makeAndFork();
    return folder;
}

}  // namespace bench

#pragma once
// The one folder for a benchmark program's files (sandboxes, databases), in
// the temporary folder, made on first use and removed when the program
// ends: at exit (a return from main, or exit() on an error), and on SIGINT,
// SIGTERM or SIGHUP (unless ignored from the start).
//
// No signal handler runs: the first use blocks the signals and starts one
// thread that waits for them with sigwait, removes the folder as ordinary
// code and raises the signal again with its default action, so that the
// program ends as it would have. A handler would interrupt whichever thread
// the signal found, perhaps inside malloc with its lock held, and anything
// it then called that takes that lock (fork, the C++ library) would wait
// for good. Every thread started later inherits the blocked mask, so the
// first use must come before any thread starts: first thing in main. One
// after that is refused. Only a crash or SIGKILL leaves the folder behind.
//
// Thread: main thread, before any other thread starts; the removal runs at
// exit, or on the signal thread.
#include <pthread.h>
#include <signal.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <system_error>
#include <thread>

namespace bench {

namespace scratch {

// Written before the signal thread starts; a plain array, so that it is
// still there when that thread reads it while static objects are destroyed.
inline char path[4096];

inline void remove()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

// Whether the calling thread is the process's only one.
inline bool aloneInProcess()
{
    std::error_code error;
    const auto threads = std::distance(std::filesystem::directory_iterator("/proc/self/task", error),
                                       std::filesystem::directory_iterator());
    return !error && threads == 1;
}

// Blocks the signals that end the program (in the calling thread, and so
// in every thread it starts) and returns them.
inline sigset_t blockEndingSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        // One ignored from the start (a background job's SIGINT) stays ignored.
        struct sigaction previous {};
        if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN) sigaddset(&signals, signal);
    }
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    return signals;
}

inline void removeOnSignalThread(const sigset_t& signals)
{
    std::thread([signals] {
        int received = 0;
        while (sigwait(&signals, &received) != 0) {
        }
        remove();
        // Its disposition was never changed: unblocked here, it ends the
        // program with the signal's own status.
        sigset_t only;
        sigemptyset(&only);
        sigaddset(&only, received);
        pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
        raise(received);
    }).detach();
}

}  // namespace scratch

inline const std::string& scratchFolder()
{
    static const std::string folder = [] {
        if (!scratch::aloneInProcess()) {
            std::fprintf(stderr, "%s: the scratch folder is made after a thread started: make it first in main\n",
                         HC_BENCH_PROGRAM);
            std::exit(1);
        }
        // Blocked before the folder exists: a signal in between would leave it.
        const sigset_t signals = scratch::blockEndingSignals();
        std::string made = (std::filesystem::temp_directory_path() / ("hc-" HC_BENCH_PROGRAM "-XXXXXX")).string();
        if (made.size() >= sizeof scratch::path || !mkdtemp(made.data())) {
            std::fprintf(stderr, "%s: cannot make a scratch folder: %s\n", HC_BENCH_PROGRAM, made.c_str());
            std::exit(1);
        }
        std::strcpy(scratch::path, made.c_str());
        std::atexit(scratch::remove);
        scratch::removeOnSignalThread(signals);
        return made;
    }();
    return folder;
}

}  // namespace bench

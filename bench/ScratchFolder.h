#pragma once
// The one folder for a benchmark program's files (sandboxes, databases), in
// the temporary folder, made on first use and removed when the program
// ends: at exit (a return from main, or exit() on an error), and on SIGINT,
// SIGTERM or SIGHUP (unless ignored from the start). A signal handler may
// not run the C++ library, so there a child `rm -rf` removes it, waited
// for; the signal then ends the program as it would have. Only a crash
// leaves the folder behind.
//
// Thread: main thread; the removal runs at exit, or in the signal handler.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace bench {

namespace scratch {

// Built before any signal can need it: the handler only reads it.
inline char path[4096];
inline char rm[] = "/bin/rm";
inline char force[] = "-rf";
inline char endOfOptions[] = "--";
inline char* rmArguments[] = {rm, force, endOfOptions, path, nullptr};
inline char* noEnvironment[] = {nullptr};

inline void removeAtExit()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

inline void removeOnSignal(int signal)
{
    const pid_t child = fork();
    if (child == 0) {
        execve(rm, rmArguments, noEnvironment);
        _exit(127);
    }
    if (child > 0) {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

}  // namespace scratch

inline const std::string& scratchFolder()
{
    static const std::string folder = [] {
        std::string made = (std::filesystem::temp_directory_path() / ("hc-" HC_BENCH_PROGRAM "-XXXXXX")).string();
        if (made.size() >= sizeof scratch::path || !mkdtemp(made.data())) {
            std::fprintf(stderr, "%s: cannot make a scratch folder: %s\n", HC_BENCH_PROGRAM, made.c_str());
            std::exit(1);
        }
        std::strcpy(scratch::path, made.c_str());
        std::atexit(scratch::removeAtExit);
        struct sigaction action {};
        action.sa_handler = scratch::removeOnSignal;
        sigemptyset(&action.sa_mask);
        for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
            // One ignored from the start (a background job's SIGINT) stays ignored.
            struct sigaction previous {};
            if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN)
                sigaction(signal, &action, nullptr);
        }
        return made;
    }();
    return folder;
}

}  // namespace bench

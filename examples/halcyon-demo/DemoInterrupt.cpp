#include "DemoInterrupt.h"

#include <signal.h>

#include <atomic>
#include <utility>

namespace demointerrupt {
namespace {

// Set by the handler on whatever thread the signal reaches.
std::atomic<int> received = 0;
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler may only touch a lock-free atomic");
std::function<void()> pendingCleanUp;

void note(int signal)
{
    received = signal;
}

void handle(int signal, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

// A signal the program was started with ignored (a shell's background job)
// stays ignored.
void noteUnlessIgnored(int signal)
{
    struct sigaction current = {};
    sigaction(signal, nullptr, &current);
    if (current.sa_handler != SIG_IGN) handle(signal, note);
}

}  // namespace

void install(std::function<void()> cleanUp)
{
    pendingCleanUp = std::move(cleanUp);
    noteUnlessIgnored(SIGINT);
    noteUnlessIgnored(SIGTERM);
}

void endIfAsked()
{
    const int signal = received.load();
    if (signal == 0) return;
    // Taken out first: the clean-up runs once, whatever it calls.
    auto cleanUp = std::move(pendingCleanUp);
    pendingCleanUp = nullptr;
    if (cleanUp) cleanUp();
    handle(signal, SIG_DFL);
    raise(signal);
}

}  // namespace demointerrupt

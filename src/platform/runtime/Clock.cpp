#include "platform/runtime/Clock.h"

#include <chrono>

#include "platform/runtime/Guarded.h"
#include "platform/runtime/RunLoop.h"

namespace platform {
namespace {
// Never destroyed: threads that outlive static destruction at exit (a run
// loop's thread still winding down) keep reading the clock.
Guarded<std::shared_ptr<Clock>>& installedClock()
{
    static auto* clock = new Guarded<std::shared_ptr<Clock>>(std::make_shared<SystemClock>());
    return *clock;
}
}  // namespace

std::shared_ptr<Clock> Clock::current()
{
    return installedClock().get();
}

void Clock::install(std::shared_ptr<Clock> clock)
{
    installedClock().set(clock ? std::move(clock) : std::make_shared<SystemClock>());
    RunLoop::wakeAll();
}

double SystemClock::now() const
{
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

double Clock::machineSeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

double SystemClock::elapsed() const
{
    return machineSeconds();
}

void ManualClock::advance(double seconds)
{
    double expected = now_.load();
    while (!now_.compare_exchange_weak(expected, expected + seconds)) {
    }
    expected = elapsed_.load();
    while (!elapsed_.compare_exchange_weak(expected, expected + seconds)) {
    }
    RunLoop::wakeAll();
}

void ManualClock::set(double secondsSince1970)
{
    now_.store(secondsSince1970);
    RunLoop::wakeAll();
}

}  // namespace platform

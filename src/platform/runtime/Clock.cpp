#include "platform/runtime/Clock.h"

#include <chrono>

#include "platform/runtime/Guarded.h"
#include "platform/runtime/RunLoop.h"

namespace platform {
namespace {
Guarded<std::shared_ptr<Clock>>& installedClock()
{
    static Guarded<std::shared_ptr<Clock>> clock(std::make_shared<SystemClock>());
    return clock;
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

void ManualClock::advance(double seconds)
{
    double expected = now_.load();
    while (!now_.compare_exchange_weak(expected, expected + seconds)) {
    }
    RunLoop::wakeAll();
}

void ManualClock::set(double secondsSince1970)
{
    now_.store(secondsSince1970);
    RunLoop::wakeAll();
}

}  // namespace platform

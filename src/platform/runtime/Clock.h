#pragma once
// The one clock that every "now", timer, delayed call and time-out reads.
//
// Production installs SystemClock (the default). Tests install a ManualClock
// and advance it, so nothing time-based depends on the machine's speed.
//
// Thread: any thread. now() and advance() are safe to call concurrently.
#include <atomic>
#include <memory>
#include <mutex>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since 1970-01-01 00:00:00 UTC.
    virtual double now() const = 0;
    // Seconds on a clock that never goes back (the wall clock may, when the
    // device's time is set): for measuring how long ago something happened.
    virtual double elapsed() const = 0;
    // True when time moves on its own, so a run loop may sleep until its next timer.
    virtual bool isRealTime() const = 0;

    static std::shared_ptr<Clock> current();
    static double currentTime() { return current()->now(); }
    // Seconds on the machine's steady clock, whatever clock is installed: only
    // for bounding how long a thread really waits or spins on I/O, never for
    // what the program schedules.
    static double machineSeconds();
    // Installs a clock for the whole process and wakes every run loop so that
    // timers are re-evaluated against it. Passing nullptr restores the system clock.
    static void install(std::shared_ptr<Clock> clock);
};

class SystemClock final : public Clock {
public:
    double now() const override;
    double elapsed() const override;
    bool isRealTime() const override { return true; }
};

class ManualClock final : public Clock {
public:
    // 2026-01-01 00:00:00 UTC: a fixed, recognisable start for tests.
    static constexpr double kDefaultStart = 1767225600.0;

    explicit ManualClock(double start = kDefaultStart) : now_(start) {}
    double now() const override { return now_.load(); }
    double elapsed() const override { return elapsed_.load(); }
    bool isRealTime() const override { return false; }

    // Moves time forward (both clocks) and wakes every run loop so due timers
    // fire when pumped.
    void advance(double seconds);
    // Sets the wall clock only, as a device whose time is changed: elapsed()
    // does not move.
    void set(double secondsSince1970);

private:
    std::atomic<double> now_;
    std::atomic<double> elapsed_{0};
};

}  // namespace platform

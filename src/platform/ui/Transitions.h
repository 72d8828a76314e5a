#pragma once
// Animated screen transitions (pushes, pops, modal sheets, tab switches,
// popovers, alert dismissals) end when their duration has passed on
// platform::Clock: the completion runs from the main run loop. Nothing is
// drawn; the transition is only the wait.
//
// A transition can be finished early (a second push while the first one still
// slides in finishes the first at once), and tests ask when the last pending
// one will end so that a ManualClock can be advanced past it.
//
// Thread: main thread only.
#include <cstdint>
#include <functional>
#include <optional>

namespace platform::ui {

// How long the platform's controller transitions take.
inline constexpr double kTransitionDuration = 0.35;
// How long an alert or action sheet takes to go away.
inline constexpr double kAlertDismissDuration = 0.2;

class Transitions {
public:
    using Id = uint64_t;

    // Runs `completion` from the main run loop once `duration` seconds have
    // passed on the clock. Ids are never 0.
    static Id schedule(double duration, std::function<void()> completion);
    // Runs the completion now when the transition is still pending; true when it ran.
    static bool finishNow(Id id);
    // Finishes every pending transition, oldest first (also those that the
    // completions start). A new screen change calls this first, so each
    // controller's "will" is answered by its "did" before the next change.
    static void finishAll();
    static size_t pendingCount();
    // The clock time at which the last pending transition ends; nullopt when none is pending.
    static std::optional<double> latestEndTime();
};

}  // namespace platform::ui

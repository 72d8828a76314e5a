#pragma once
// A Game Center report made from a short-lived background thread of its
// own, as systems below 4.2 require. The handler is called exactly once: with
// the report's answer, or, when no answer has come kDeferredSubmissionTimeout
// seconds (platform::Clock) after the report was made, with a time-out error;
// an answer after that is ignored. It lives until then.
//
// Thread: made on any thread; the handler runs on Game Center's thread (an
// answer) or the main thread (the time-out), once.
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "platform/gamecenter/GameCenter.h"
#include "platform/runtime/Object.h"

// Long enough for a slow network, short enough that a score waiting on the
// report is not held for the whole session.
inline constexpr double kDeferredSubmissionTimeout = 60.0;
// The error code of a report that timed out (the platform's own codes are small).
inline constexpr int kDeferredSubmissionTimedOut = 1001;

class GCDeferredSubmission final : public platform::Object {
public:
    using Handler = platform::gamecenter::ErrorHandler;

    static void submitScore(std::shared_ptr<platform::gamecenter::Score> score, Handler handler);
    static void submitAchievement(std::shared_ptr<platform::gamecenter::Achievement> achievement, Handler handler);

private:
    void submit();
    void submitBackground();
    void callHandler(const std::optional<platform::gamecenter::Error>& error);

    std::shared_ptr<platform::gamecenter::Achievement> achievement_;
    std::shared_ptr<platform::gamecenter::Score> score_;
    Handler handler_;
    std::atomic<bool> called_{false};
};

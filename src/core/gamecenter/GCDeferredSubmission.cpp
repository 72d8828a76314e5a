#include "core/gamecenter/GCDeferredSubmission.h"

#include "platform/runtime/Thread.h"

namespace gc = platform::gamecenter;

void GCDeferredSubmission::submitScore(std::shared_ptr<gc::Score> score, Handler handler)
{
    auto submission = std::make_shared<GCDeferredSubmission>();
    submission->score_ = std::move(score);
    submission->handler_ = std::move(handler);
    submission->submit();
}

void GCDeferredSubmission::submitAchievement(std::shared_ptr<gc::Achievement> achievement, Handler handler)
{
    auto submission = std::make_shared<GCDeferredSubmission>();
    submission->achievement_ = std::move(achievement);
    submission->handler_ = std::move(handler);
    submission->submit();
}

void GCDeferredSubmission::submit()
{
    auto self = platform::self(this);
    auto thread = platform::Thread::start("GCDeferredSubmission");
    thread->runLoop()->post([self, thread] {
        self->submitBackground();
        thread->cancel();  // from its own thread: it ends once this task returns
    });
    // The time-out holds the submission until it fires; an answer first
    // makes it do nothing.
    platform::Thread::mainThread()->runLoop()->postAfter(kDeferredSubmissionTimeout, [self] {
        self->callHandler(gc::Error{kDeferredSubmissionTimedOut, "Game Center did not answer the report."});
    });
}

void GCDeferredSubmission::submitBackground()
{
    auto self = platform::self(this);
    auto answer = [self](const std::optional<gc::Error>& error) { self->callHandler(error); };
    if (achievement_) {
        achievement_->reportAchievementWithCompletionHandler(answer);
    } else if (score_) {
        score_->reportScoreWithCompletionHandler(answer);
    }
}

void GCDeferredSubmission::callHandler(const std::optional<gc::Error>& error)
{
    if (called_.exchange(true)) return;
    // Only the first caller gets here, so the handler is not shared.
    auto handler = std::move(handler_);
    if (handler) handler(error);
}

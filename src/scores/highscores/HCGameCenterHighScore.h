#pragma once
// One score batch with its two parts, the service's POST and a Game Center
// report per score whose board maps there, which end in any order. The
// caller hears once, when every part that started has reported: failure
// (nil) when any failed, else success with the reply series, or nil when
// a Game Center report ended last.
//
// Every part is marked pending before any is started, so a fast answer
// cannot complete the batch early; an answer after completion is ignored. A
// POST that the provider drops or cancels ends as a failure (the batch's
// completion guarantees an end), so the batch always completes.
//
// Thread: main thread. The parts' callbacks hold it until they have run.
#include <memory>
#include <optional>
#include <string>

#include "kernel/callbacks/HCCallbackable.h"
#include "kernel/callbacks/HCDelegate.h"
#include "platform/runtime/Object.h"
#include "scores/highscores/HCHighScoreService.h"
#include "transport/handles/HCRequestHandle.h"

class HCGameCenterHighScore final : public platform::Object, public HCCallbackable {
public:
    enum Status { kNotStarted = 0, kPending = 1, kSucceeded = 2, kFailed = 3 };

    HCGameCenterHighScore(HCHighScoreBatch scores, std::string userId, std::optional<std::string> message,
                          bool silently);

    // The POST's handle, or nil.
    HCRequestHandlePtr submitOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure);

    bool canReceiveCallbacksNow() const override { return true; }

private:
    void halcyonEnded(const platform::ObjectPtr& reply, Status outcome);
    void gameCenterReported(bool ok);
    void testCompletion(const platform::ObjectPtr& object);

    HCHighScoreBatch scores_;
    std::string userId_;
    std::optional<std::string> message_;
    bool silently_;
    HCDelegate successDelegate_;
    HCDelegate failureDelegate_;
    Status halcyonStatus_ = kNotStarted;
    Status gameCenterStatus_ = kNotStarted;
    unsigned gameCenterCount_ = 0;
    bool completed_ = false;
};

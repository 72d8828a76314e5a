#pragma once
// The re-send after a log-in of every score a player still owes the
// service, however many there are: the player's pending rows are read in
// slices, in the order they were stored, and each slice is posted as one
// batch that its request and its reply can carry (at most kMaxScores
// entries and kMaxTextBytes of texts; the service answers each accepted
// score with about 135 bytes, and the client takes replies of up to 2 MB).
// A slice is read only once the one before it has been confirmed, so one
// slice at a time is in memory and each step is a short piece of work.
// The first slice that fails ends the walk; its rows and the later ones
// stay pending for the next log-in.
//
// Thread: main thread.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "kernel/callbacks/HCDelegate.h"
#include "transport/handles/HCRequestHandle.h"

class HCHighScoreService;

class HCPendingScoreResend final : public platform::Object {
public:
    static constexpr std::size_t kMaxScores = 1000;
    static constexpr std::size_t kMaxTextBytes = 256u * 1024u;

    HCPendingScoreResend(std::shared_ptr<HCHighScoreService> service, std::string userId, HCDelegate onSuccess,
                         HCDelegate onFailure);

    // Posts the first slice. Nil, with no callback to come, when nothing
    // that is not already in flight was pending; else the first slice's
    // handle. When the last slice is confirmed onSuccess gets its reply;
    // onFailure gets the failed slice's failure.
    std::shared_ptr<HCRequestHandle> start();

private:
    // Reads the next slice after the cursor and posts it; false when no row
    // was left to post.
    bool postNextSlice();
    void sliceSucceeded(const platform::ObjectPtr& reply);
    void sliceFailed(const platform::ObjectPtr& failure);
    void finish();

    std::weak_ptr<HCHighScoreService> service_;
    std::string userId_;
    HCDelegate onSuccess_;
    HCDelegate onFailure_;
    std::int64_t afterRowId_ = 0;
    std::shared_ptr<HCRequestHandle> firstHandle_;
};

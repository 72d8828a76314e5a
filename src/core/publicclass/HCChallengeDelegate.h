#pragma once
// The game's part in challenges: it starts a challenge the player accepted
// (with the challenge's data), restarts one after a lost attempt, makes a
// stronger one, and learns when the send or result screen closed and when
// challenges went out. Every method is optional; the client asks
// respondsTo before each call and, for a method the game does not have,
// does what it would do without a game (the dashboard stays open, a button
// that would call it is not offered).
//
// Thread: main thread.
#include <memory>

#include "platform/foundation/Values.h"

class HCChallengeToUser;

class HCChallengeDelegate {
public:
    enum class Method {
        userLaunchedChallenge,
        userRestartedChallenge,
        completedChallengeScreenClosed,
        sendChallengeScreenClosed,
        userSentChallenges,
        createStrongerChallenge,
        userRestartedCreateChallenge,
    };

    virtual ~HCChallengeDelegate() = default;
    virtual bool respondsTo(Method method) const = 0;

    // `data` is nil for a challenge without data.
    virtual void userLaunchedChallenge(const std::shared_ptr<HCChallengeToUser>& /*challenge*/,
                                       const std::shared_ptr<platform::Data>& /*data*/)
    {
    }
    virtual void userRestartedChallenge() {}
    virtual void completedChallengeScreenClosed() {}
    virtual void sendChallengeScreenClosed() {}
    virtual void userSentChallenges() {}
    virtual void createStrongerChallenge() {}
    // Games written before createStrongerChallenge implement this one; the
    // send screen's "create stronger" button serves them too.
    virtual void userRestartedCreateChallenge() {}
};

#pragma once
// What the game implements to hear how its calls on challenges and on
// received challenges (challenge-to-user records) ended. Every method is
// optional: the class calls one only when the delegate implements it. The
// callbacks carry no error detail.
//
// Thread: called on the main thread.
#include <memory>

#include "platform/foundation/Values.h"
#include "platform/runtime/OptionalMethods.h"

class HCChallenge;
class HCChallengeToUser;

class HCChallengeObjectDelegate : public platform::OptionalMethods {
public:
    using ChallengePtr = std::shared_ptr<HCChallenge>;
    virtual ~HCChallengeObjectDelegate() = default;

    virtual void didSendChallenge(const ChallengePtr& challenge)
    {
        (void)challenge;
        notImplemented();
    }
    virtual void didFailSendChallenge(const ChallengePtr& challenge)
    {
        (void)challenge;
        notImplemented();
    }
    // The blob as the sender gave it.
    virtual void didDownloadChallengeData(const std::shared_ptr<platform::Data>& data, const ChallengePtr& challenge)
    {
        (void)data;
        (void)challenge;
        notImplemented();
    }
    virtual void didFailDownloadChallengeDataHCChallenge(const ChallengePtr& challenge)
    {
        (void)challenge;
        notImplemented();
    }
};

class HCChallengeToUserDelegate : public platform::OptionalMethods {
public:
    using RecordPtr = std::shared_ptr<HCChallengeToUser>;
    virtual ~HCChallengeToUserDelegate() = default;

    virtual void didCompleteChallenge(const RecordPtr& record)
    {
        (void)record;
        notImplemented();
    }
    // The record's result is back to what it was before the call.
    virtual void didFailCompleteChallenge(const RecordPtr& record)
    {
        (void)record;
        notImplemented();
    }
    virtual void didRejectChallenge(const RecordPtr& record)
    {
        (void)record;
        notImplemented();
    }
    virtual void didFailRejectChallenge(const RecordPtr& record)
    {
        (void)record;
        notImplemented();
    }
};

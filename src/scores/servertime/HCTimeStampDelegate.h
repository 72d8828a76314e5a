#pragma once
// What the game implements to hear the server's time. Both methods are
// optional: HCTimeStamp calls one only when the delegate implements it.
//
// Thread: called on the main thread.
#include <memory>

#include "platform/runtime/OptionalMethods.h"

class HCTimeStamp;

class HCTimeStampDelegate : public platform::OptionalMethods {
public:
    virtual ~HCTimeStampDelegate() = default;
    // The reply held at least one time stamp; this is the first.
    virtual void didGetServerTime(const std::shared_ptr<HCTimeStamp>& timeStamp)
    {
        (void)timeStamp;
        notImplemented();
    }
    // The request failed, or its reply held no time stamp.
    virtual void didFailGetServerTime() { notImplemented(); }
};

#pragma once
// What the client core asks of its location object: whether it is still
// taking a fix, stopping it, and the last position it received.
//
// Thread: main thread.
#include "platform/runtime/Object.h"

class HCLocationSource : public platform::Object {
public:
    virtual bool isLocationUpdating() const = 0;
    virtual void stopUpdatingLocation() = 0;
    // nil before the first fix.
    virtual platform::ObjectPtr userLocation() const = 0;
};

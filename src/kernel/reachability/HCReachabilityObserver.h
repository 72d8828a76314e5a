#pragma once
// Registers a delegate with the reachability monitor for as long as it
// lives: the delegate is invoked with a Number of the new status on every
// change. Made while no monitor exists, it stays silent.
//
// Thread: make and delete it on the main thread; the delegate is invoked on
// its own delivery thread (the main thread unless it names another).
#include <memory>

#include "kernel/callbacks/HCDelegate.h"

class HCReachability;

class HCReachabilityObserver {
public:
    explicit HCReachabilityObserver(HCDelegate delegate);
    ~HCReachabilityObserver();
    HCReachabilityObserver(const HCReachabilityObserver&) = delete;
    HCReachabilityObserver& operator=(const HCReachabilityObserver&) = delete;

private:
    friend class HCReachability;

    HCDelegate delegate_;
    std::weak_ptr<HCReachability> monitor_;
};

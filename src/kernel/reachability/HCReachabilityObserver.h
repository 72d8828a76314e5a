#pragma once
// Registers a delegate with the process's reachability monitors for as long
// as it lives: the delegate is invoked with a Number of the new status on
// every change, whichever Initialize made the monitor that saw it.
//
// Thread: make and delete it on the main thread; the delegate is invoked on
// its own delivery thread (the main thread unless it names another).
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
};

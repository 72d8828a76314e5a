#include "kernel/reachability/HCReachabilityObserver.h"

#include "kernel/reachability/HCReachability.h"

HCReachabilityObserver::HCReachabilityObserver(HCDelegate delegate) : delegate_(std::move(delegate))
{
    auto monitor = HCReachability::Instance();
    if (!monitor) return;
    monitor_ = monitor;
    monitor->addObserver(this);
}

HCReachabilityObserver::~HCReachabilityObserver()
{
    if (auto monitor = monitor_.lock()) monitor->removeObserver(this);
}

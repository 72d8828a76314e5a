#include "kernel/reachability/HCReachabilityObserver.h"

#include "kernel/reachability/HCReachability.h"

HCReachabilityObserver::HCReachabilityObserver(HCDelegate delegate) : delegate_(std::move(delegate))
{
    HCReachability::addObserver(this);
}

HCReachabilityObserver::~HCReachabilityObserver()
{
    HCReachability::removeObserver(this);
}

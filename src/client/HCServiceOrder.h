#pragma once
// The client's services in their fixed start-up and shut-down orders: the
// one table start-up and shut-down walk. A service that is not part of this
// build is not in it; each service, once built, adds its own line.
//
// Thread: any thread (a constant table).
#include <vector>

#include "core/halcyon/HCServiceEntry.h"

class HCServiceOrder {
public:
    // In start-up order.
    static const std::vector<HCServiceEntry>& services();
};

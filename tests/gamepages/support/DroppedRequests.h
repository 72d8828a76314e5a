#pragma once
// A provider that lets requests go without answering them, for page tests.
#include <functional>

#include "core/halcyon/Halcyon.h"
#include "support/RequestThreadGate.h"
#include "transport/provider/HCProvider.h"

namespace pagetest {

// Runs `act` with the request thread held, so that nothing it asks for is
// sent, then drops every request still queued: their callbacks are let go
// uncalled.
inline void dropRequestsMadeBy(const std::function<void()>& act)
{
    testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
    act();
    Halcyon::provider()->destroyAllPendingRequests();
}

}  // namespace pagetest

#include "uiframework/HCRequestTicket.h"

#include "platform/runtime/RunLoop.h"
#include "platform/runtime/Thread.h"

HCRequestTicket::HCRequestTicket(unsigned generation, std::function<void(unsigned)> dropped)
    : generation(generation), dropped_(std::move(dropped))
{
}

HCRequestTicket::~HCRequestTicket()
{
    if (answered_ || !dropped_) return;
    // Not from inside the release: the page may be in the middle of
    // replacing what held the ticket.
    platform::Thread::mainThread()->runLoop()->post(
        [dropped = std::move(dropped_), generation = generation] { dropped(generation); });
}

bool HCRequestTicket::answer()
{
    if (answered_) return false;
    answered_ = true;
    return true;
}

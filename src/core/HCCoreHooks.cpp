#include "core/HCCoreHooks.h"

#include "core/poller/HCResourcePollerReplyReader.h"
#include "transport/poller/HCPoller.h"

void HCCoreHooks::install()
{
    HCPoller::setReplyReader(std::make_shared<HCResourcePollerReplyReader>());
}

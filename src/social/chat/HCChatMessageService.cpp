#include "social/chat/HCChatMessageService.h"

#include "core/halcyon/Halcyon.h"
#include "core/poller/HCResourcePollerReplyReader.h"
#include "core/resources/HCResourceClass.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/chat/HCChatMessage.h"
#include "transport/poller/HCPoller.h"

namespace {

std::shared_ptr<HCChatMessageService> sChatMessageService;

}  // namespace

void HCChatMessageService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sChatMessageService) sChatMessageService = HCService::create<HCChatMessageService>();
}

void HCChatMessageService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    sChatMessageService = nullptr;
}

std::shared_ptr<HCChatMessageService> HCChatMessageService::sharedInstance()
{
    return sChatMessageService;
}

void HCChatMessageService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCChatMessage>(map);
}

void HCChatMessageService::registerPolledResources(const std::shared_ptr<HCPoller>& poller)
{
    HC_CHECK_MAIN_THREAD();
    if (!poller) return;
    if (auto polled = HCPollerResourceClassNamed(HCRegisterResourceClass<HCChatMessage>()))
        poller->registerResourceClass(*polled);
}

void HCChatMessageService::clearCacheAndPollNow()
{
    HC_CHECK_MAIN_THREAD();
    Halcyon::clearPollingCacheForClassType(HCRegisterResourceClass<HCChatMessage>());
    Halcyon::forceImmediatePoll();
}

HCRequestHandlePtr HCChatMessageService::getIndexOnSuccess(const HCDelegate& onSuccess, const HCDelegate&)
{
    onSuccess.invoke(nullptr);
    return nullptr;
}

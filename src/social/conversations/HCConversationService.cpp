#include "social/conversations/HCConversationService.h"

#include "core/clientstate/HCClientState.h"
#include "core/resources/HCResourceClass.h"
#include "core/services/HCServicePath.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "social/conversations/HCConversation.h"
#include "social/forums/HCForumPost.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCConversationService> sConversationService;

}  // namespace

void HCConversationService::initializeService()
{
    if (!sConversationService) sConversationService = HCService::create<HCConversationService>();
}

void HCConversationService::shutdownService()
{
    sConversationService = nullptr;
}

std::shared_ptr<HCConversationService> HCConversationService::sharedInstance()
{
    return sConversationService;
}

void HCConversationService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCConversation>(map);
    HCAddKnownResource<HCForumPost>(map);
}

HCRequestHandlePtr HCConversationService::startConversationWithUser(const Text& otherUserId,
                                                                    const HCDelegate& onSuccess,
                                                                    const HCDelegate& onFailure)
{
    auto service = sharedInstance();
    if (!service) return nullptr;
    if (!otherUserId || otherUserId->empty()) return HCServicePath::refuse(onFailure);
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("discussion[other_user_id]", *otherUserId);
    return service->postAction("discussions.xml", &parameters, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

HCRequestHandlePtr HCConversationService::getConversationHistory(const Text& conversationId, uint32_t page,
                                                                 const HCDelegate& onSuccess,
                                                                 const HCDelegate& onFailure)
{
    return HCServicePath::getPage<HCConversationService>("discussions/%@/posts.xml", conversationId, page, onSuccess,
                                                         onFailure);
}

HCRequestHandlePtr HCConversationService::postMessage(const Text& text, const Text& conversationId,
                                                      const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    auto path = HCServicePath::format("discussions/%@/posts.xml", {conversationId});
    auto service = HCServicePath::serviceFor<HCConversationService>(path, onFailure);
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("post[body]", text);
    return service->postAction(*path, &parameters, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

HCRequestHandlePtr HCConversationService::deleteConversation(const Text& conversationId, const HCDelegate& onSuccess,
                                                             const HCDelegate& onFailure)
{
    auto path = HCServicePath::format("discussions/%@/delete.xml", {conversationId});
    auto service = HCServicePath::serviceFor<HCConversationService>(path, onFailure);
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("client_application_id", HCClientState::clientApplicationId());
    return service->postAction(*path, &parameters, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

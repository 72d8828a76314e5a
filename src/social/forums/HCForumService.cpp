#include "social/forums/HCForumService.h"

#include "core/clientstate/HCClientState.h"
#include "core/resources/HCResourceClass.h"
#include "core/services/HCServicePath.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/forums/HCForumPost.h"
#include "social/forums/HCForumThread.h"
#include "social/forums/HCForumTopic.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCForumService> sForumService;

// Subscribing and unsubscribing differ only in their path.
HCRequestHandlePtr followThread(const char* pattern, const std::optional<std::string>& threadId,
                                const std::optional<std::string>& topicId, const HCDelegate& onSuccess,
                                const HCDelegate& onFailure)
{
    auto path = HCServicePath::format(pattern, {threadId});
    auto service = HCServicePath::serviceFor<HCForumService>(path, onFailure);
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("topic_id", topicId);
    return service->postAction(*path, &parameters, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

}  // namespace

void HCForumService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sForumService) sForumService = HCService::create<HCForumService>();
}

void HCForumService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    sForumService = nullptr;
}

std::shared_ptr<HCForumService> HCForumService::sharedInstance()
{
    return sForumService;
}

void HCForumService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCForumTopic>(map);
    HCAddKnownResource<HCForumThread>(map);
    HCAddKnownResource<HCForumPost>(map);
}

HCRequestHandlePtr HCForumService::getTopicsForApplication(const Text& applicationId, const HCDelegate& onSuccess,
                                                           const HCDelegate& onFailure)
{
    const Text id = applicationId && !applicationId->empty() ? applicationId : HCClientState::clientApplicationId();
    auto path = HCServicePath::format("client_applications/%@/forums.xml", {id});
    auto service = HCServicePath::serviceFor<HCForumService>(path, onFailure);
    if (!service) return nullptr;
    return service->getAction(*path, nullptr, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

HCRequestHandlePtr HCForumService::getThreadsForTopic(const Text& topicId, int32_t page, const HCDelegate& onSuccess,
                                                      const HCDelegate& onFailure)
{
    return HCServicePath::getPage<HCForumService>("topics/%@/discussions.xml", topicId, page, onSuccess, onFailure);
}

HCRequestHandlePtr HCForumService::getPostsForThread(const Text& threadId, int32_t page, const HCDelegate& onSuccess,
                                                     const HCDelegate& onFailure)
{
    return HCServicePath::getPage<HCForumService>("discussions/%@/posts.xml", threadId, page, onSuccess, onFailure,
                                                  false);
}

HCRequestHandlePtr HCForumService::postNewThreadInTopic(const Text& topicId, const Text& subject, const Text& body,
                                                        const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    auto path = HCServicePath::format("topics/%@/discussions.xml", {topicId});
    auto service = HCServicePath::serviceFor<HCForumService>(path, onFailure);
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("discussion[subject]", subject);
    parameters.io("discussion[body]", body);
    return service->postAction(*path, &parameters, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

HCRequestHandlePtr HCForumService::replyToThread(const Text& threadId, const Text& body, const HCDelegate& onSuccess,
                                                 const HCDelegate& onFailure)
{
    auto path = HCServicePath::format("discussions/%@/posts.xml", {threadId});
    auto service = HCServicePath::serviceFor<HCForumService>(path, onFailure);
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("post[body]", body);
    return service->postAction(*path, &parameters, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

HCRequestHandlePtr HCForumService::subscribeToThread(const Text& threadId, const Text& topicId,
                                                     const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    return followThread("discussions/%@/subscribe.xml", threadId, topicId, onSuccess, onFailure);
}

HCRequestHandlePtr HCForumService::unsubscribeFromThread(const Text& threadId, const Text& topicId,
                                                         const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    return followThread("discussions/%@/unsubscribe.xml", threadId, topicId, onSuccess, onFailure);
}

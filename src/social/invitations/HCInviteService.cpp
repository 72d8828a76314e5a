#include "social/invitations/HCInviteService.h"

#include "core/resources/HCResourceClass.h"
#include "core/services/HCServicePath.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/foundation/OptionalText.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/invitations/HCDeviceContact.h"
#include "social/invitations/HCInvite.h"
#include "social/invitations/HCInviteDefinition.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCInviteService> sInviteService;
HCInviteService::InviteFlow sInviteFlow;

// One receiver's parameter; a contact with both a number and an address is
// reached by SMS only.
void writeReceiver(HCHttpNestedQueryStringWriter& parameters, const platform::ObjectPtr& receiver)
{
    if (auto user = platform::as<HCUser>(receiver)) {
        parameters.io("invite[receivers][]", user->resourceId());
    } else if (auto contact = platform::as<HCDeviceContact>(receiver)) {
        if (platform::hasText(contact->number)) {
            parameters.io("invite[sms_receivers][]", *contact->number);
        } else if (platform::hasText(contact->email)) {
            parameters.io("invite[email_receivers][]", *contact->email);
        }
    }
}

}  // namespace

void HCInviteService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sInviteService) sInviteService = HCService::create<HCInviteService>();
}

void HCInviteService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    sInviteService = nullptr;
}

std::shared_ptr<HCInviteService> HCInviteService::sharedInstance()
{
    return sInviteService;
}

void HCInviteService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCUser>(map);
    HCAddKnownResource<HCInvite>(map);
    HCAddKnownResource<HCInviteDefinition>(map);
}

HCRequestHandlePtr HCInviteService::getInvitesForUser(const HCUserPtr& /*user*/, int32_t page,
                                                      const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    auto service = sharedInstance();
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("page", page);
    parameters.io("mark_viewed", std::string("true"));
    return service->getAction("invites.xml", &parameters, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

HCRequestHandlePtr HCInviteService::ignoreInvite(const Text& inviteId, const HCDelegate& onSuccess,
                                                 const HCDelegate& onFailure)
{
    auto path = HCServicePath::format("invites/%@/ignore", {inviteId});
    auto service = HCServicePath::serviceFor<HCInviteService>(path, onFailure);
    if (!service) return nullptr;
    return service->putAction(*path, nullptr, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

HCRequestHandlePtr HCInviteService::sendInvite(const std::shared_ptr<HCInviteDefinition>& definition,
                                               const Text& message, const std::vector<platform::ObjectPtr>& receivers,
                                               const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    auto service = sharedInstance();
    if (!service) return nullptr;
    if (!definition || !platform::hasText(definition->resourceId())) return HCServicePath::refuse(onFailure);
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("key", *definition->resourceId());
    parameters.io("invite[sender_message]", message);
    for (const auto& receiver : receivers) writeReceiver(parameters, receiver);
    return service->postAction("invites.xml", &parameters, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

HCRequestHandlePtr HCInviteService::getInviteDefinition(const Text& definitionId, const HCDelegate& onSuccess,
                                                        const HCDelegate& onFailure)
{
    auto path = HCServicePath::format("invite_definitions/%@.xml", {definitionId});
    auto service = HCServicePath::serviceFor<HCInviteService>(path, onFailure);
    if (!service) return nullptr;
    return service->getAction(*path, nullptr, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

HCRequestHandlePtr HCInviteService::getDefaultInviteDefinitionForApplication(const HCDelegate& onSuccess,
                                                                             const HCDelegate& onFailure)
{
    auto service = sharedInstance();
    if (!service) return nullptr;
    return service->getAction("invite_definitions/primary", nullptr, onSuccess, onFailure, HCActionRequest::kSilent,
                              nullptr);
}

void HCInviteService::displaySendInviteModal(const std::string& inviteIdentifier)
{
    HC_CHECK_MAIN_THREAD();
    if (sInviteFlow) sInviteFlow(inviteIdentifier);
}

void HCInviteService::setInviteFlow(InviteFlow flow)
{
    HC_CHECK_MAIN_THREAD();
    sInviteFlow = std::move(flow);
}

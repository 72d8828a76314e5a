#include "social/invitations/HCInviteDefinition.h"

#include "core/publicclass/HCClassDelegate.h"
#include "core/publicclass/HCPublicImageStep.h"
#include "core/replies/HCPaginatedSeries.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "social/invitations/HCInviteDelegates.h"
#include "social/invitations/HCInviteService.h"

namespace {

HCClassDelegate<HCInviteDefinitionDelegate> sInviteDefinitionDelegate(HCInviteDefinition::kModule);

HCInviteDefinitionPtr firstDefinition(const platform::ObjectPtr& reply)
{
    auto series = platform::as<HCPaginatedSeries>(reply);
    if (!series || series->objects().empty()) return nullptr;
    return platform::as<HCInviteDefinition>(series->objects().front());
}

// A definition reply: its first definition to `found`, an empty one to `failed`.
HCOperationCallbacks definitionCallbacks(void (HCInviteDefinitionDelegate::*found)(const HCInviteDefinitionPtr&),
                                         void (HCInviteDefinitionDelegate::*failed)())
{
    return sInviteDefinitionDelegate.callbacks(
        nullptr,
        [found, failed](auto started, const platform::ObjectPtr& reply) {
            if (auto definition = firstDefinition(reply)) {
                sInviteDefinitionDelegate.notify(started, [&](HCInviteDefinitionDelegate& d) { (d.*found)(definition); });
            } else {
                sInviteDefinitionDelegate.notify(started, [&](HCInviteDefinitionDelegate& d) { (d.*failed)(); });
            }
        },
        [failed](auto started) { sInviteDefinitionDelegate.notify(started, [&](HCInviteDefinitionDelegate& d) { (d.*failed)(); }); });
}

}  // namespace

std::shared_ptr<HCService> HCInviteDefinition::getService() const
{
    return HCInviteService::sharedInstance();
}

const HCResourceDataMap& HCInviteDefinition::getDataMap() const
{
    using D = HCInviteDefinition;
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("client_application_name", &D::setClientApplicationName, &D::clientApplicationName);
        m->addField("client_application_id", &D::setClientApplicationID, &D::clientApplicationID);
        m->addField("invite_identifier", &D::setInviteIdentifier, &D::inviteIdentifier);
        m->addField("sender_parameter", &D::setSenderParameter, &D::senderParameter);
        m->addField("receiver_parameter", &D::setReceiverParameter, &D::receiverParameter);
        m->addField("invite_icon_url", &D::setInviteIconURL, &D::inviteIconURL);
        m->addField("developer_message", &D::setDeveloperMessage, &D::developerMessage);
        m->addField("receiver_notification", &D::setReceiverNotification, &D::receiverNotification);
        m->addField("sender_notification", &D::setSenderNotification, &D::senderNotification);
        m->addField("sender_incentive_text", &D::setSenderIncentiveText, &D::senderIncentiveText);
        m->addField("suggested_sender_message", &D::setSuggestedSenderMessage, &D::suggestedSenderMessage);
        return m;
    }();
    return *map;
}

void HCInviteDefinition::setDelegate(HCInviteDefinitionDelegate* delegate)
{
    sInviteDefinitionDelegate.set(delegate);
}

HCRequestHandlePtr HCInviteDefinition::getInviteDefinition(const Text& identifier)
{
    HC_CHECK_MAIN_THREAD();
    auto cb = definitionCallbacks(&HCInviteDefinitionDelegate::didGetInviteDefinition,
                                  &HCInviteDefinitionDelegate::didFailGetInviteDefinition);
    return sInviteDefinitionDelegate.track(HCInviteService::getInviteDefinition(identifier, cb.success, cb.failure));
}

HCRequestHandlePtr HCInviteDefinition::getPrimaryInviteDefinition()
{
    HC_CHECK_MAIN_THREAD();
    auto cb = definitionCallbacks(&HCInviteDefinitionDelegate::didGetPrimaryInviteDefinition,
                                  &HCInviteDefinitionDelegate::didFailGetPrimaryInviteDefinition);
    return sInviteDefinitionDelegate.track(HCInviteService::getDefaultInviteDefinitionForApplication(cb.success, cb.failure));
}

HCRequestHandlePtr HCInviteDefinition::getInviteIcon()
{
    HC_CHECK_MAIN_THREAD();
    auto self = std::static_pointer_cast<HCInviteDefinition>(shared_from_this());
    // Held weakly: the step reports only while the definition lives.
    std::weak_ptr<HCInviteDefinition> weak = self;
    return HCPublicImageStep<HCInviteDefinitionDelegate>(
        sInviteDefinitionDelegate, self, imageSlots_, inviteIconURL_,
        [weak](HCInviteDefinitionDelegate& d, const platform::ui::ImagePtr& image) {
            if (auto alive = weak.lock()) d.didGetInviteIcon(image, alive);
        },
        [weak](HCInviteDefinitionDelegate& d) {
            if (auto alive = weak.lock()) d.didFailGetInviteIconHCInviteDefinition(alive);
        });
}

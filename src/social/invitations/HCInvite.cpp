#include "social/invitations/HCInvite.h"

#include "core/publicclass/HCClassDelegate.h"
#include "core/publicclass/HCPublicImageStep.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "social/invitations/HCInviteDelegates.h"
#include "social/invitations/HCInviteService.h"

namespace {

HCClassDelegate<HCInviteDelegate> sInviteDelegate(HCInvite::kModule);

}  // namespace

std::shared_ptr<HCInvite> HCInvite::initWithInviteDefinition(const HCInviteDefinitionPtr& definition)
{
    auto invite = std::make_shared<HCInvite>();
    invite->inviteDefinition_ = definition;
    if (definition) invite->userMessage_ = definition->suggestedSenderMessage();
    return invite;
}

std::shared_ptr<HCService> HCInvite::getService() const
{
    return HCInviteService::sharedInstance();
}

const HCResourceDataMap& HCInvite::getDataMap() const
{
    using I = HCInvite;
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addNestedResourceField("sender", &I::setSenderUser, &I::senderUser);
        m->addNestedResourceField("receiver", &I::setReceiverUser, &I::receiverUser);
        m->addField("client_application_name", &I::setClientApplicationName, &I::clientApplicationName);
        m->addField("client_application_id", &I::setClientApplicationID, &I::clientApplicationID);
        m->addField("invite_identifier", &I::setInviteIdentifier, &I::inviteIdentifier);
        m->addField("sender_parameter", &I::setSenderParameter, &I::senderParameter);
        m->addField("receiver_parameter", &I::setReceiverParameter, &I::receiverParameter);
        m->addField("invite_icon_url", &I::setInviteIconURL, &I::inviteIconURL);
        m->addField("developer_message", &I::setDeveloperMessage, &I::developerMessage);
        m->addField("receiver_notification", &I::setReceiverNotification, &I::receiverNotification);
        m->addField("sender_notification", &I::setSenderNotification, &I::senderNotification);
        m->addField("user_message", &I::setUserMessage, &I::userMessage);
        m->addField("state", &I::setState, &I::state);
        return m;
    }();
    return *map;
}

void HCInvite::setDelegate(HCInviteDelegate* delegate)
{
    sInviteDelegate.set(delegate);
}

HCRequestHandlePtr HCInvite::getInviteIcon()
{
    HC_CHECK_MAIN_THREAD();
    auto self = std::static_pointer_cast<HCInvite>(shared_from_this());
    // Held weakly: the step reports only while the invitation lives.
    std::weak_ptr<HCInvite> weak = self;
    return HCPublicImageStep<HCInviteDelegate>(
        sInviteDelegate, self, imageSlots_, inviteIconURL_,
        [weak](HCInviteDelegate& d, const platform::ui::ImagePtr& image) {
            if (auto alive = weak.lock()) d.didGetInviteIcon(image, alive);
        },
        [weak](HCInviteDelegate& d) {
            if (auto alive = weak.lock()) d.didFailGetInviteIconHCInvite(alive);
        });
}

HCRequestHandlePtr HCInvite::sendInviteToUsers(const std::vector<platform::ObjectPtr>& receivers)
{
    HC_CHECK_MAIN_THREAD();
    // An invitation read from a reply has nothing to send: the nil handle
    // is the whole answer.
    if (!inviteDefinition_) return nullptr;
    auto self = std::static_pointer_cast<HCInvite>(shared_from_this());
    auto cb = sInviteDelegate.callbacks(
        self,
        [self](auto started, const platform::ObjectPtr&) {
            sInviteDelegate.notify(started, [&](HCInviteDelegate& d) { d.didSendInvite(self); });
        },
        [self](auto started) { sInviteDelegate.notify(started, [&](HCInviteDelegate& d) { d.didFailSendInvite(self); }); });
    return sInviteDelegate.track(
        HCInviteService::sendInvite(inviteDefinition_, userMessage_, receivers, cb.success, cb.failure));
}

void HCInvite::displayAndSendInviteScreen()
{
    HC_CHECK_MAIN_THREAD();
    if (inviteDefinition_ && inviteDefinition_->inviteIdentifier()) {
        HCInviteService::displaySendInviteModal(*inviteDefinition_->inviteIdentifier());
    }
}

#pragma once
// An invitation the game set up on the service ("invite_definition"): what
// the sender and the receiver are told and gain, the suggested message, the
// icon. The game fetches one by identifier or its primary one, and fetches
// its icon; outcomes go to the class's one delegate (see HCClassDelegate.h).
//
// Thread: read on the provider's request thread, then used on the main
// thread; the operations run on the main thread.
#include <memory>
#include <optional>
#include <string>

#include "core/images/HCImageDownload.h"
#include "core/resources/HCResource.h"
#include "kernel/callbacks/HCCallbackable.h"
#include "transport/handles/HCRequestHandle.h"

class HCInviteDefinitionDelegate;

class HCInviteDefinition final : public HCResource, public HCCallbackable {
public:
    using Text = std::optional<std::string>;
    static constexpr const char* kModule = "HCInviteDefinition";

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "invite_definition"; }
    std::string getResourceDiscoveredNotification() const override { return std::string(); }
    const HCResourceDataMap& getDataMap() const override;
    bool canReceiveCallbacksNow() const override { return true; }

    // Clearing the delegate cancels the class's requests.
    static void setDelegate(HCInviteDefinitionDelegate* delegate);
    // didGetInviteDefinition with the reply's first definition; an empty
    // reply is didFailGetInviteDefinition.
    static HCRequestHandlePtr getInviteDefinition(const Text& identifier);
    static HCRequestHandlePtr getPrimaryInviteDefinition();
    // Nil when the icon came from the image cache (reported already).
    HCRequestHandlePtr getInviteIcon();

#define HC_INVITE_TEXT_FIELD(field, setter) \
    const Text& field() const { return field##_; } \
    void setter(const Text& text) { field##_ = text; }
    HC_INVITE_TEXT_FIELD(clientApplicationName, setClientApplicationName)
    HC_INVITE_TEXT_FIELD(clientApplicationID, setClientApplicationID)
    HC_INVITE_TEXT_FIELD(inviteIdentifier, setInviteIdentifier)
    HC_INVITE_TEXT_FIELD(senderParameter, setSenderParameter)
    HC_INVITE_TEXT_FIELD(receiverParameter, setReceiverParameter)
    HC_INVITE_TEXT_FIELD(inviteIconURL, setInviteIconURL)
    HC_INVITE_TEXT_FIELD(developerMessage, setDeveloperMessage)
    HC_INVITE_TEXT_FIELD(receiverNotification, setReceiverNotification)
    HC_INVITE_TEXT_FIELD(senderNotification, setSenderNotification)
    HC_INVITE_TEXT_FIELD(senderIncentiveText, setSenderIncentiveText)
    HC_INVITE_TEXT_FIELD(suggestedSenderMessage, setSuggestedSenderMessage)

private:
    Text clientApplicationName_, clientApplicationID_, inviteIdentifier_, senderParameter_, receiverParameter_,
        inviteIconURL_, developerMessage_, receiverNotification_, senderNotification_, senderIncentiveText_,
        suggestedSenderMessage_;
    HCImageDownloadSlots imageSlots_;
};

using HCInviteDefinitionPtr = std::shared_ptr<HCInviteDefinition>;

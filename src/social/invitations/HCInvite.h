#pragma once
// One invitation: read from a reply ("invite": who sent it to whom, the
// message, its state) or made by the game from a definition to send. The
// game sends it to players and fetches its icon; outcomes go to the class's
// one delegate (see HCClassDelegate.h).
//
// Sending needs the definition it was made from: an invitation read from a
// reply has none, and sending it answers a nil handle and calls no delegate
// method.
//
// Thread: read on the provider's request thread, then used on the main
// thread; the operations run on the main thread.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/images/HCImageDownload.h"
#include "core/resources/HCResource.h"
#include "core/users/HCUser.h"
#include "kernel/callbacks/HCCallbackable.h"
#include "social/invitations/HCInviteDefinition.h"
#include "transport/handles/HCRequestHandle.h"

class HCInviteDelegate;

class HCInvite final : public HCResource, public HCCallbackable {
public:
    using Text = std::optional<std::string>;
    static constexpr const char* kModule = "HCInvite";

    // A new invitation carrying the definition's suggested message.
    static std::shared_ptr<HCInvite> initWithInviteDefinition(const HCInviteDefinitionPtr& definition);

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "invite"; }
    std::string getResourceDiscoveredNotification() const override { return std::string(); }
    const HCResourceDataMap& getDataMap() const override;
    bool canReceiveCallbacksNow() const override { return true; }

    // Clearing the delegate cancels the class's requests.
    static void setDelegate(HCInviteDelegate* delegate);
    // Nil when the icon came from the image cache (reported already).
    HCRequestHandlePtr getInviteIcon();
    // Sends userMessage as it is now. Without a definition: nil, and no
    // delegate method is called.
    HCRequestHandlePtr sendInviteToUsers(const std::vector<platform::ObjectPtr>& receivers);
    // Opens the invitation pages for the definition; nothing without one.
    void displayAndSendInviteScreen();

    const HCUserPtr& senderUser() const { return senderUser_; }
    void setSenderUser(HCUserPtr user) { senderUser_ = std::move(user); }
    const HCUserPtr& receiverUser() const { return receiverUser_; }
    void setReceiverUser(HCUserPtr user) { receiverUser_ = std::move(user); }
    HC_INVITE_TEXT_FIELD(clientApplicationName, setClientApplicationName)
    HC_INVITE_TEXT_FIELD(clientApplicationID, setClientApplicationID)
    HC_INVITE_TEXT_FIELD(inviteIdentifier, setInviteIdentifier)
    HC_INVITE_TEXT_FIELD(senderParameter, setSenderParameter)
    HC_INVITE_TEXT_FIELD(receiverParameter, setReceiverParameter)
    HC_INVITE_TEXT_FIELD(inviteIconURL, setInviteIconURL)
    HC_INVITE_TEXT_FIELD(developerMessage, setDeveloperMessage)
    HC_INVITE_TEXT_FIELD(receiverNotification, setReceiverNotification)
    HC_INVITE_TEXT_FIELD(senderNotification, setSenderNotification)
    HC_INVITE_TEXT_FIELD(userMessage, setUserMessage)
    HC_INVITE_TEXT_FIELD(state, setState)
    const HCInviteDefinitionPtr& inviteDefinition() const { return inviteDefinition_; }

private:
    HCUserPtr senderUser_, receiverUser_;
    Text clientApplicationName_, clientApplicationID_, inviteIdentifier_, senderParameter_, receiverParameter_,
        inviteIconURL_, developerMessage_, receiverNotification_, senderNotification_, userMessage_, state_;
    HCInviteDefinitionPtr inviteDefinition_;
    HCImageDownloadSlots imageSlots_;
};

using HCInvitePtr = std::shared_ptr<HCInvite>;

#pragma once
// The invite flow's compose page ("InviteFriends"): the chosen receivers
// (friends, then contacts), which cannot be selected, under an editable
// message, and "Send". A send is refused with an alert when nobody is
// chosen or when the service cannot be reached; a failed send (also one the
// service refuses for want of an invite definition) puts "Send" back on for
// another try; one that fails after the player left the page, refused or
// dropped, is told wherever he is, since his message went with it. A sent
// invitation leads to the confirmation, whose button ends the flow.
//
// Thread: main thread.
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/TextField.h"
#include "social/invitations/HCInviteDefinition.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCInviteFriendsHeaderController;

class HCInviteFriendsController : public HCTableSequenceControllerHelper {
public:
    const std::vector<platform::ObjectPtr>& selectedUsers() const { return selectedUsers_; }
    void setSelectedUsers(std::vector<platform::ObjectPtr> users) { selectedUsers_ = std::move(users); }
    const HCInviteDefinitionPtr& definition() const { return definition_; }
    void setDefinition(HCInviteDefinitionPtr definition) { definition_ = std::move(definition); }
    // Ends the whole flow.
    void setCloseAction(std::function<void()> close) { closeAction_ = std::move(close); }
    std::shared_ptr<HCInviteFriendsHeaderController> header() const { return header_.lock(); }

    // "Send".
    void inviteFriends();
    void inviteSuccess(std::shared_ptr<platform::Object> reply);
    void inviteFailure(std::shared_ptr<platform::Object> failure);
    static void showNoFriendsSelectedMessage();
    static void showNoConnectionMessage();
    static void showSubmitFailedMessage();
    // Ends the flow. Nothing of the flow calls it; a page that shows the
    // compose page another way may.
    void cancel();
    // What the player wrote in `field`, else its placeholder.
    static std::string getUserMessage(const platform::ui::TextField& field);

    std::optional<std::string> getTableHeaderControllerName() override { return "InviteFriendsHeader"; }
    void onTableHeaderCreated(const platform::ObjectPtr& header) override;
    bool usePlainTableSectionHeaders() override { return true; }
    bool canReceiveCallbacksNow() const override { return true; }
    std::optional<IndexPath> willSelectRowAtIndexPath(platform::ui::TableView&, const IndexPath&) override
    {
        return std::nullopt;
    }
    std::shared_ptr<HCService> getService() override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    void doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    std::string getNoDataFoundMessage() override;
    platform::ui::ViewControllerPtr getNoDataFoundViewController() override;
    void viewDidLoad() override;
    std::string kindName() const override { return "HCInviteFriendsController"; }

private:
    void setSendEnabled(bool enabled);

    std::vector<platform::ObjectPtr> selectedUsers_;
    HCInviteDefinitionPtr definition_;
    std::function<void()> closeAction_;
    std::weak_ptr<HCInviteFriendsHeaderController> header_;
};

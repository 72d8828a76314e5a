#pragma once
// The invite flow's start page ("SelectInviteType"): the game's offer (the
// icon and incentive text of an invite definition, the game's primary one
// when no identifier is given), one row per kind of receiver (service
// friends, address-book contacts) with how many are chosen, and "Invite",
// which opens the compose page with friends first, then contacts. The
// identifier is given before the page first shows. The definition is asked
// for at every appearance; only the latest question's answer is taken.
//
// Thread: main thread.
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/replies/HCPaginatedSeries.h"
#include "social/invitations/HCInviteDefinition.h"
#include "uiframework/table/HCTableStaticControllerHelper.h"

class HCSelectInviteTypeCell;
class HCSelectInviteTypeHeaderController;

class HCSelectInviteTypeController : public HCTableStaticControllerHelper {
public:
    enum ReceiverKind : size_t { kFriends = 0, kContacts = 1 };

    static std::shared_ptr<HCSelectInviteTypeController> inviteTypeControllerWithInviteIdentifier(
        const std::optional<std::string>& inviteId);

    // A picker of receivers: its title and "Done", its only way back.
    static void configurePicker(const std::shared_ptr<platform::ui::ViewController>& picker, const std::string& title,
                                std::function<void()> done);

    // Shown over the game as the dashboard's only page; Cancel closes the dashboard.
    void openAsModal();
    // Shown over the open dashboard; Cancel takes it away again.
    void openAsModalInDashboard();

    // The empty string counts as none.
    void setInviteId(const std::optional<std::string>& inviteId);
    const std::optional<std::string>& inviteId() const { return inviteId_; }
    const HCInviteDefinitionPtr& definition() const { return definition_; }

    // A picker's "Done": the chosen receivers of that kind from now on.
    void updateSelectedType(ReceiverKind kind, const std::vector<platform::ObjectPtr>& list);
    const std::vector<platform::ObjectPtr>& getSelectedListForType(ReceiverKind kind) const;
    // Every contact added through the address book during this flow.
    const std::vector<platform::ObjectPtr>& addedContacts() const { return addedContacts_; }
    void setAddedContacts(std::vector<platform::ObjectPtr> contacts) { addedContacts_ = std::move(contacts); }

    // "Invite".
    void advance();
    void inviteHalcyonFriends();
    void inviteContacts();
    void didGetInviteDefinition(std::shared_ptr<HCPaginatedSeries> series);
    void didFailGetInviteDefinition(std::shared_ptr<platform::Object> failure);

    Sections buildTableSectionDescriptions() override;
    std::optional<std::string> getTableHeaderControllerName() override { return "SelectInviteTypeHeader"; }
    void onTableHeaderCreated(const platform::ObjectPtr& header) override;
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    std::string kindName() const override { return "HCSelectInviteTypeController"; }

private:
    // What ends the flow from its last page.
    std::function<void()> makeCloseAction();
    void askForDefinition();

    std::optional<std::string> inviteId_;
    std::weak_ptr<HCSelectInviteTypeHeaderController> header_;
    HCInviteDefinitionPtr definition_;
    std::array<std::vector<platform::ObjectPtr>, 2> selected_;
    std::array<std::weak_ptr<HCSelectInviteTypeCell>, 2> cells_;
    std::vector<platform::ObjectPtr> addedContacts_;
    // The latest question for the definition, numbered from 1; 0 before the first.
    unsigned definitionQuestion_ = 0;
};

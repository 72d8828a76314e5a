#pragma once
// The invite flow's address-book page ("SelectContactsToInvite"): the
// contacts added during this flow, ticked when chosen. Its header's add
// button opens the device's people picker (a popover from the button on a
// large screen, a modal elsewhere); picking one e-mail address or phone
// number of a person adds or updates that person's row and ticks it. "Done"
// (the only way back) hands the chosen and the added contacts to the start
// page. No request is made.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Values.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/PeoplePickerNavigationController.h"
#include "platform/ui/PopoverController.h"
#include "platform/ui/ViewController.h"
#include "social/invitations/HCDeviceContact.h"
#include "uiframework/table/HCTableControllerHeader.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCSelectInviteTypeController;
class HCSelectContactsToInviteController;

class HCSelectContactsToInviteHeaderController : public platform::ui::ViewController,
                                                 public HCTableControllerHeader,
                                                 public platform::ui::PeoplePickerNavigationControllerDelegate {
public:
    void loadView() override;
    void resizeView(const platform::ui::ViewPtr& pageView) override;
    void setContactInviteController(const std::shared_ptr<HCSelectContactsToInviteController>& page) { page_ = page; }
    const std::shared_ptr<platform::ui::Button>& addContactButton() const { return addContactButton_; }
    const platform::ui::PopoverControllerPtr& peoplePickerPopover() const { return popover_; }

    // The add button's action.
    void addContact();
    void _dismissPeoplePicker();

    void peoplePickerNavigationControllerDidCancel(platform::ui::PeoplePickerNavigationController& picker) override;
    std::optional<bool> shouldContinueAfterSelectingPerson(platform::ui::PeoplePickerNavigationController& picker,
                                                           const platform::ui::PersonPtr& person) override;
    // Adds the picked value's person; a value the person no longer has adds nothing.
    std::optional<bool> shouldContinueAfterSelectingPerson(platform::ui::PeoplePickerNavigationController& picker,
                                                           const platform::ui::PersonPtr& person,
                                                           platform::ui::PersonProperty property,
                                                           int identifier) override;
    std::string kindName() const override { return "HCSelectContactsToInviteHeaderController"; }

private:
    std::shared_ptr<platform::ui::Label> addContactLabel_ = platform::ui::Label::make(platform::ui::Rect(50, 10, 200, 24));
    std::shared_ptr<platform::ui::Button> addContactButton_;
    platform::ui::PopoverControllerPtr popover_;
    std::weak_ptr<HCSelectContactsToInviteController> page_;
};

class HCSelectContactsToInviteController : public HCTableSequenceControllerHelper {
public:
    static std::shared_ptr<HCSelectContactsToInviteController> inviteController(
        const std::shared_ptr<HCSelectInviteTypeController>& start, const std::vector<platform::ObjectPtr>& added,
        const std::vector<platform::ObjectPtr>& selected);

    void done();
    // Adds the person, or gives the one already added this value; either way it is chosen.
    void addPersonWithEmail(int32_t recordId, const std::string& name, const std::shared_ptr<platform::Data>& imageData,
                            const std::string& email);
    void addPersonWithPhoneNumber(int32_t recordId, const std::string& name,
                                  const std::shared_ptr<platform::Data>& imageData, const std::string& number);
    const std::vector<platform::ObjectPtr>& selectedContacts() const { return selectedContacts_; }
    const std::vector<platform::ObjectPtr>& addedContacts() const { return addedContacts_; }
    std::shared_ptr<HCSelectContactsToInviteHeaderController> contactsHeader() const { return header_.lock(); }

    void doIndexActionWithPage(int, const HCDelegate&, const HCDelegate&) override {}
    void doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    std::string getNoDataFoundMessage() override { return std::string(); }
    bool shouldDisplayEmptyDataSet() override { return false; }
    std::string getDataNotLoadedYetMessage() override { return "Loading Contacts..."; }
    std::optional<std::string> getTableHeaderControllerName() override { return "SelectContactsToInviteHeader"; }
    bool usePlainTableSectionHeaders() override { return true; }
    bool shouldAlwaysShowNavBar() override { return true; }
    void onTableHeaderCreated(const platform::ObjectPtr& header) override;
    void onSectionsCreated(const Sections& sections) override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    void onCell(const platform::ui::TableViewCellPtr& cell, const platform::ObjectPtr& resource) override;
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    std::string kindName() const override { return "HCSelectContactsToInviteController"; }

private:
    void addPerson(int32_t recordId, const std::string& name, const std::shared_ptr<platform::Data>& imageData,
                   std::optional<std::string> number, std::optional<std::string> email);
    bool isSelected(const platform::ObjectPtr& contact) const;

    std::shared_ptr<HCSelectInviteTypeController> inviteTypeController_;
    std::vector<platform::ObjectPtr> selectedContacts_;
    std::vector<platform::ObjectPtr> addedContacts_;
    std::weak_ptr<HCSelectContactsToInviteHeaderController> header_;
};

#include "socialpages/invitations/HCSelectContactsToInviteController.h"

#include <algorithm>

#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageLoader.h"
#include "dashboard/HalcyonDashboard.h"
#include "dashboard/HCRootController.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "socialpages/invitations/HCContactCells.h"
#include "socialpages/invitations/HCSelectInviteTypeController.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCUIKitCategories.h"

namespace {

using platform::ui::PersonProperty;

bool counts(const std::optional<std::string>& name)
{
    return name && !name->empty();
}

}  // namespace

void HCSelectContactsToInviteHeaderController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    setView(platform::ui::View::make(platform::ui::Rect(0, 0, 320, 44)));
    addContactButton_ = std::make_shared<platform::ui::Button>(platform::ui::ButtonType::ContactAdd,
                                                               platform::ui::Rect(10, 8, 30, 30));
    std::weak_ptr<HCSelectContactsToInviteHeaderController> weakSelf =
        std::static_pointer_cast<HCSelectContactsToInviteHeaderController>(platform::self(this));
    addContactButton_->addTarget(
        this, [weakSelf](platform::ui::Control&) {
            if (auto header = weakSelf.lock()) header->addContact();
        },
        platform::ui::ControlEventTouchUpInside);
    addContactLabel_->setText("Add a contact");
    view()->addSubview(addContactButton_);
    view()->addSubview(addContactLabel_);
}

void HCSelectContactsToInviteHeaderController::resizeView(const platform::ui::ViewPtr& pageView)
{
    const auto bottom = view()->convertRectFrom(addContactLabel_->frame(), addContactLabel_->superview()).maxY();
    view()->setFrame(platform::ui::Rect(0, 0, pageView->frame().size.width, bottom + 20.0));
    view()->layoutIfNeeded();
}

void HCSelectContactsToInviteHeaderController::addContact()
{
    HC_CHECK_MAIN_THREAD();
    auto picker = platform::ui::PeoplePickerNavigationController::make();
    picker->setPeoplePickerDelegate(std::static_pointer_cast<platform::ui::PeoplePickerNavigationControllerDelegate>(
        std::static_pointer_cast<HCSelectContactsToInviteHeaderController>(platform::self(this))));
    picker->setDisplayedProperties({PersonProperty::Email, PersonProperty::Phone});
    if (Halcyon::isLargeScreen()) {
        popover_ = platform::ui::PopoverController::withContentViewController(picker);
        popover_->presentFromRect(addContactButton_->frame(), view(), platform::ui::PopoverArrowDirectionAny, true);
    } else if (auto root = HalcyonDashboard::getRootController()) {
        root->presentModalViewController(picker, true);
    }
}

void HCSelectContactsToInviteHeaderController::_dismissPeoplePicker()
{
    HC_CHECK_MAIN_THREAD();
    if (Halcyon::isLargeScreen()) {
        if (popover_) popover_->dismissPopover(true);
        popover_ = nullptr;
    } else if (auto root = HalcyonDashboard::getRootController()) {
        root->dismissModalViewController(true);
    }
}

void HCSelectContactsToInviteHeaderController::peoplePickerNavigationControllerDidCancel(
    platform::ui::PeoplePickerNavigationController&)
{
    _dismissPeoplePicker();
}

std::optional<bool> HCSelectContactsToInviteHeaderController::shouldContinueAfterSelectingPerson(
    platform::ui::PeoplePickerNavigationController&, const platform::ui::PersonPtr&)
{
    return true;
}

std::optional<bool> HCSelectContactsToInviteHeaderController::shouldContinueAfterSelectingPerson(
    platform::ui::PeoplePickerNavigationController&, const platform::ui::PersonPtr& person,
    platform::ui::PersonProperty property, int identifier)
{
    _dismissPeoplePicker();
    auto values = person ? person->multiValue(property) : nullptr;
    // The entry may have gone from the address book since the picker listed it.
    const auto index = values ? values->indexForIdentifier(identifier) : std::nullopt;
    auto page = page_.lock();
    if (!index || !page) return false;
    const std::string value = values->valueAtIndex(*index);
    std::string name = value;
    if (counts(person->firstName()) && counts(person->lastName())) {
        name = *person->firstName() + " " + *person->lastName();
    } else if (counts(person->firstName())) {
        name = *person->firstName();
    } else if (counts(person->lastName())) {
        name = *person->lastName();
    }
    auto imageData = person->hasImageData() ? person->imageData() : nullptr;
    if (property == PersonProperty::Email) {
        page->addPersonWithEmail(person->recordId(), name, imageData, value);
    } else {
        page->addPersonWithPhoneNumber(person->recordId(), name, imageData, value);
    }
    return false;
}

std::shared_ptr<HCSelectContactsToInviteController> HCSelectContactsToInviteController::inviteController(
    const std::shared_ptr<HCSelectInviteTypeController>& start, const std::vector<platform::ObjectPtr>& added,
    const std::vector<platform::ObjectPtr>& selected)
{
    auto page = HCControllerLoader::load<HCSelectContactsToInviteController>("SelectContactsToInvite");
    if (!page) return nullptr;
    page->inviteTypeController_ = start;
    std::weak_ptr<HCSelectContactsToInviteController> weakPage = page;
    HCSelectInviteTypeController::configurePicker(page, "Invite Contacts", [weakPage] {
        if (auto self = weakPage.lock()) self->done();
    });
    page->addedContacts_ = added;
    page->selectedContacts_ = selected;
    return page;
}

void HCSelectContactsToInviteController::done()
{
    HC_CHECK_MAIN_THREAD();
    if (inviteTypeController_) {
        inviteTypeController_->updateSelectedType(HCSelectInviteTypeController::kContacts, selectedContacts_);
        inviteTypeController_->setAddedContacts(addedContacts_);
    }
    if (auto navigation = navigationController()) navigation->popViewController(true);
}

void HCSelectContactsToInviteController::doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate&)
{
    onSuccess.invoke(HCPaginatedSeries::paginatedSeriesFromArray(addedContacts_));
}

void HCSelectContactsToInviteController::onTableHeaderCreated(const platform::ObjectPtr& header)
{
    auto typed = std::dynamic_pointer_cast<HCSelectContactsToInviteHeaderController>(header);
    header_ = typed;
    if (typed)
        typed->setContactInviteController(
            std::static_pointer_cast<HCSelectContactsToInviteController>(platform::self(this)));
}

void HCSelectContactsToInviteController::onSectionsCreated(const Sections& sections)
{
    if (!sections.empty()) sections.front()->setTitle(std::string("Contacts To Invite"));
}

void HCSelectContactsToInviteController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCDeviceContact>("SelectableContact");
}

bool HCSelectContactsToInviteController::isSelected(const platform::ObjectPtr& contact) const
{
    return std::find(selectedContacts_.begin(), selectedContacts_.end(), contact) != selectedContacts_.end();
}

void HCSelectContactsToInviteController::onCell(const platform::ui::TableViewCellPtr& cell,
                                                const platform::ObjectPtr& resource)
{
    if (auto checkable = std::dynamic_pointer_cast<HCCheckableCell>(cell)) checkable->setChecked(isSelected(resource));
}

void HCSelectContactsToInviteController::onCellWasClicked(const platform::ObjectPtr& resource,
                                                          const IndexPath& indexPathInTable)
{
    HC_CHECK_MAIN_THREAD();
    if (platform::as<HCDeviceContact>(resource)) {
        auto checkable = std::dynamic_pointer_cast<HCCheckableCell>(tableView()->cellForRowAtIndexPath(indexPathInTable));
        if (checkable) {
            auto found = std::find(selectedContacts_.begin(), selectedContacts_.end(), resource);
            checkable->setChecked(found == selectedContacts_.end());
            if (found != selectedContacts_.end()) {
                selectedContacts_.erase(found);
            } else {
                selectedContacts_.push_back(resource);
            }
        }
    }
    tableView()->deselectRowAtIndexPath(indexPathInTable, true);
}

void HCSelectContactsToInviteController::addPersonWithEmail(int32_t recordId, const std::string& name,
                                                            const std::shared_ptr<platform::Data>& imageData,
                                                            const std::string& email)
{
    addPerson(recordId, name, imageData, std::nullopt, email);
}

void HCSelectContactsToInviteController::addPersonWithPhoneNumber(int32_t recordId, const std::string& name,
                                                                  const std::shared_ptr<platform::Data>& imageData,
                                                                  const std::string& number)
{
    addPerson(recordId, name, imageData, number, std::nullopt);
}

void HCSelectContactsToInviteController::addPerson(int32_t recordId, const std::string& name,
                                                   const std::shared_ptr<platform::Data>& imageData,
                                                   std::optional<std::string> number, std::optional<std::string> email)
{
    HC_CHECK_MAIN_THREAD();
    std::shared_ptr<HCDeviceContact> contact;
    for (const auto& added : addedContacts_) {
        auto existing = platform::as<HCDeviceContact>(added);
        if (existing && existing->recordId == recordId) {
            contact = existing;
            break;
        }
    }
    if (!contact) {
        contact = std::make_shared<HCDeviceContact>();
        contact->recordId = recordId;
        contact->name = name;
        contact->imageData = imageData;
        addedContacts_.push_back(contact);
    }
    contact->number = std::move(number);
    contact->email = std::move(email);
    if (!isSelected(contact)) selectedContacts_.push_back(contact);
    HCTableSequenceControllerHelper::_refreshData();
}

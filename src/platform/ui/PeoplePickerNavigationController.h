#pragma once
// The system's contact chooser: a navigation controller listing the address
// book's people. A person first picks someone; when the delegate lets the
// picker go on, it shows that person's displayed properties, and the person
// picks one value (a property and the identifier of its entry). When the
// delegate lets the picker go on after that too, the picker performs the
// value's default action itself (recorded, as nothing is dialled or mailed).
// Cancel is told to the delegate only; closing the picker is the caller's job.
//
// Thread: main thread only.
#include <memory>
#include <optional>
#include <vector>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/AddressBook.h"
#include "platform/ui/NavigationController.h"

namespace platform::ui {

class PeoplePickerNavigationController;

// Not implemented, the questions answer yes: the picker goes on.
class PeoplePickerNavigationControllerDelegate {
public:
    virtual ~PeoplePickerNavigationControllerDelegate() = default;
    virtual void peoplePickerNavigationControllerDidCancel(PeoplePickerNavigationController& picker);
    virtual std::optional<bool> shouldContinueAfterSelectingPerson(PeoplePickerNavigationController& picker,
                                                                   const PersonPtr& person);
    virtual std::optional<bool> shouldContinueAfterSelectingPerson(PeoplePickerNavigationController& picker,
                                                                   const PersonPtr& person, PersonProperty property,
                                                                   int identifier);
};

class PeoplePickerNavigationController : public NavigationController {
public:
    PeoplePickerNavigationController();
    static std::shared_ptr<PeoplePickerNavigationController> make();

    std::shared_ptr<PeoplePickerNavigationControllerDelegate> peoplePickerDelegate() const { return delegate_.lock(); }
    void setPeoplePickerDelegate(const std::shared_ptr<PeoplePickerNavigationControllerDelegate>& delegate)
    {
        HC_CHECK_MAIN_THREAD();
        delegate_ = delegate;
    }
    // The properties shown for a person, in order; empty: all of them.
    const std::vector<PersonProperty>& displayedProperties() const { return displayed_; }
    void setDisplayedProperties(std::vector<PersonProperty> properties)
    {
        HC_CHECK_MAIN_THREAD();
        displayed_ = std::move(properties);
    }

    // The person whose details are shown, or nullptr while the list shows.
    const PersonPtr& shownPerson() const { return shown_; }
    // The values whose default action the picker performed, in order.
    struct PerformedAction {
        int recordId;
        PersonProperty property;
        int identifier;
    };
    const std::vector<PerformedAction>& performedActions() const { return performed_; }

    // --- what a person does (the picker must be on screen) ---------------------
    // False when the person is not in the address book.
    bool pickPerson(int recordId);
    // A value of the shown person: false when no person is shown, the
    // property is not displayed or the entry is not there.
    bool pickValue(PersonProperty property, int identifier);
    bool cancel();

    std::string kindName() const override { return "PeoplePickerNavigationController"; }

private:
    std::weak_ptr<PeoplePickerNavigationControllerDelegate> delegate_;
    std::vector<PersonProperty> displayed_;
    PersonPtr shown_;
    std::vector<PerformedAction> performed_;
};

using PeoplePickerNavigationControllerPtr = std::shared_ptr<PeoplePickerNavigationController>;

}  // namespace platform::ui

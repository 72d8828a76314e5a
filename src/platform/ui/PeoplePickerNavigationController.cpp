#include "platform/ui/PeoplePickerNavigationController.h"

#include <algorithm>

#include "platform/runtime/ThreadChecker.h"

namespace platform::ui {

void PeoplePickerNavigationControllerDelegate::peoplePickerNavigationControllerDidCancel(
    PeoplePickerNavigationController&)
{
}

std::optional<bool> PeoplePickerNavigationControllerDelegate::shouldContinueAfterSelectingPerson(
    PeoplePickerNavigationController&, const PersonPtr&)
{
    return std::nullopt;
}

std::optional<bool> PeoplePickerNavigationControllerDelegate::shouldContinueAfterSelectingPerson(
    PeoplePickerNavigationController&, const PersonPtr&, PersonProperty, int)
{
    return std::nullopt;
}

PeoplePickerNavigationController::PeoplePickerNavigationController() = default;

std::shared_ptr<PeoplePickerNavigationController> PeoplePickerNavigationController::make()
{
    auto picker = std::make_shared<PeoplePickerNavigationController>();
    picker->initWithRootViewController(std::make_shared<ViewController>());
    return picker;
}

bool PeoplePickerNavigationController::pickPerson(int recordId)
{
    HC_CHECK_MAIN_THREAD();
    auto person = AddressBook::personWithRecordId(recordId);
    if (!person || !isVisible()) return false;
    const auto keepAlive = weak_from_this().lock();
    auto d = peoplePickerDelegate();
    const bool goOn = !d || d->shouldContinueAfterSelectingPerson(*this, person).value_or(true);
    if (goOn) shown_ = person;
    return true;
}

bool PeoplePickerNavigationController::pickValue(PersonProperty property, int identifier)
{
    HC_CHECK_MAIN_THREAD();
    if (!shown_ || !isVisible()) return false;
    if (!displayed_.empty() && std::find(displayed_.begin(), displayed_.end(), property) == displayed_.end())
        return false;
    auto values = shown_->multiValue(property);
    if (!values || !values->indexForIdentifier(identifier)) return false;
    const auto keepAlive = weak_from_this().lock();
    const PersonPtr person = shown_;
    auto d = peoplePickerDelegate();
    if (!d || d->shouldContinueAfterSelectingPerson(*this, person, property, identifier).value_or(true))
        performed_.push_back({person->recordId(), property, identifier});
    return true;
}

bool PeoplePickerNavigationController::cancel()
{
    HC_CHECK_MAIN_THREAD();
    if (!isVisible()) return false;
    const auto keepAlive = weak_from_this().lock();
    if (auto d = peoplePickerDelegate()) d->peoplePickerNavigationControllerDidCancel(*this);
    return true;
}

}  // namespace platform::ui

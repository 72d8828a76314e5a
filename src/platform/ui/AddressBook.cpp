#include "platform/ui/AddressBook.h"

#include "platform/runtime/ThreadChecker.h"

namespace platform::ui {

namespace {

struct Book {
    std::vector<PersonPtr> people;
    int nextRecordId = 1;
};

Book& book()
{
    static Book b;
    return b;
}

}  // namespace

int MultiValue::add(std::string value, std::string label)
{
    entries_.push_back({nextIdentifier_, std::move(label), std::move(value)});
    return nextIdentifier_++;
}

std::optional<size_t> MultiValue::indexForIdentifier(int identifier) const
{
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].identifier == identifier) return i;
    return std::nullopt;
}

std::string MultiValue::valueAtIndex(size_t index) const
{
    return index < entries_.size() ? entries_[index].value : std::string();
}

std::string MultiValue::labelAtIndex(size_t index) const
{
    return index < entries_.size() ? entries_[index].label : std::string();
}

Person::Person(std::optional<std::string> firstName, std::optional<std::string> lastName)
    : firstName_(std::move(firstName)), lastName_(std::move(lastName))
{
}

std::shared_ptr<MultiValue> Person::multiValue(PersonProperty property) const
{
    if (property == PersonProperty::Email) return emails_;
    if (property == PersonProperty::Phone) return phones_;
    return nullptr;
}

int AddressBook::addPerson(const PersonPtr& person)
{
    HC_CHECK_MAIN_THREAD();
    if (!person) return -1;
    if (person->recordId_ < 0) {
        person->recordId_ = book().nextRecordId++;
        book().people.push_back(person);
    }
    return person->recordId_;
}

PersonPtr AddressBook::personWithRecordId(int recordId)
{
    HC_CHECK_MAIN_THREAD();
    for (const auto& person : book().people)
        if (person->recordId() == recordId) return person;
    return nullptr;
}

const std::vector<PersonPtr>& AddressBook::people()
{
    HC_CHECK_MAIN_THREAD();
    return book().people;
}

void AddressBook::reset()
{
    HC_CHECK_MAIN_THREAD();
    book() = Book{};
}

}  // namespace platform::ui

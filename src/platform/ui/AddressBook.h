#pragma once
// The device's contacts, as tests (or the host) fill them: people with a
// record id, first and last name, e-mail addresses and phone numbers (each a
// multi-value of labelled entries with identifiers that stay with their
// entry), and image data.
//
// Thread: main thread only.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Values.h"
#include "platform/runtime/ThreadChecker.h"

namespace platform::ui {

enum class PersonProperty : int { FirstName, LastName, Email, Phone };

// Labelled values, each with an identifier that stays with it.
class MultiValue final : public Object {
public:
    struct Entry {
        int identifier;
        std::string label;
        std::string value;
    };

    // Answers the new entry's identifier.
    int add(std::string value, std::string label);
    size_t count() const { return entries_.size(); }
    // nullopt for an identifier that is not there.
    std::optional<size_t> indexForIdentifier(int identifier) const;
    // Out of range: empty.
    std::string valueAtIndex(size_t index) const;
    std::string labelAtIndex(size_t index) const;
    const std::vector<Entry>& entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
    int nextIdentifier_ = 0;
};

class Person final : public Object {
public:
    Person(std::optional<std::string> firstName, std::optional<std::string> lastName);

    // Given by the address book when the person is added; -1 before.
    int recordId() const { return recordId_; }
    const std::optional<std::string>& firstName() const { return firstName_; }
    const std::optional<std::string>& lastName() const { return lastName_; }
    const std::shared_ptr<MultiValue>& emails() const { return emails_; }
    const std::shared_ptr<MultiValue>& phones() const { return phones_; }
    // The e-mails or phones; nullptr for a property that is no multi-value.
    std::shared_ptr<MultiValue> multiValue(PersonProperty property) const;
    bool hasImageData() const { return imageData_ != nullptr; }
    const std::shared_ptr<Data>& imageData() const { return imageData_; }
    void setImageData(std::shared_ptr<Data> data) { HC_CHECK_MAIN_THREAD(); imageData_ = std::move(data); }

private:
    friend class AddressBook;
    int recordId_ = -1;
    std::optional<std::string> firstName_;
    std::optional<std::string> lastName_;
    std::shared_ptr<MultiValue> emails_ = std::make_shared<MultiValue>();
    std::shared_ptr<MultiValue> phones_ = std::make_shared<MultiValue>();
    std::shared_ptr<Data> imageData_;
};

using PersonPtr = std::shared_ptr<Person>;

class AddressBook {
public:
    // Gives the person the next record id (from 1) and keeps it.
    static int addPerson(const PersonPtr& person);
    static PersonPtr personWithRecordId(int recordId);
    static const std::vector<PersonPtr>& people();
    // An empty book for the next test; record ids start again.
    static void reset();
};

}  // namespace platform::ui

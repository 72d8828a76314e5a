#pragma once
// Boxed values for "any object" payloads: callback arguments, dictionary
// values, user info and decoded JSON.
//
// Thread: immutable after construction except Array and Dictionary, which
// are owned by one thread at a time like any container.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/runtime/Object.h"

namespace platform {

class String final : public Object {
public:
    explicit String(std::string value = {}) : value_(std::move(value)) {}
    static std::shared_ptr<String> make(std::string value) { return std::make_shared<String>(std::move(value)); }
    const std::string& value() const { return value_; }
    std::string description() const override { return value_; }

private:
    std::string value_;
};

// A number that remembers whether it was made from a boolean, so encoders
// can write true/false rather than 1/0.
class Number final : public Object {
public:
    explicit Number(long long v) : value_(v) {}
    explicit Number(int v) : value_(static_cast<long long>(v)) {}
    explicit Number(unsigned v) : value_(static_cast<long long>(v)) {}
    explicit Number(double v) : value_(v) {}
    explicit Number(bool v) : value_(v) {}

    static std::shared_ptr<Number> make(long long v) { return std::make_shared<Number>(v); }
    static std::shared_ptr<Number> makeInt(int v) { return std::make_shared<Number>(v); }
    static std::shared_ptr<Number> makeDouble(double v) { return std::make_shared<Number>(v); }
    static std::shared_ptr<Number> makeBool(bool v) { return std::make_shared<Number>(v); }

    bool isBoolean() const { return std::holds_alternative<bool>(value_); }
    bool isFloatingPoint() const { return std::holds_alternative<double>(value_); }
    bool boolValue() const;
    int intValue() const;
    long long longLongValue() const;
    double doubleValue() const;
    std::string stringValue() const;
    std::string description() const override { return stringValue(); }
    bool operator==(const Number& other) const;

private:
    std::variant<long long, double, bool> value_;
};

class Data final : public Object {
public:
    Data() = default;
    explicit Data(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    explicit Data(const std::string& bytes) : bytes_(bytes.begin(), bytes.end()) {}
    Data(const void* bytes, size_t length)
        : bytes_(static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + length) {}

    static std::shared_ptr<Data> make(std::vector<uint8_t> bytes) { return std::make_shared<Data>(std::move(bytes)); }
    static std::shared_ptr<Data> fromString(const std::string& s) { return std::make_shared<Data>(s); }

    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t>& mutableBytes() { return bytes_; }
    const uint8_t* data() const { return bytes_.data(); }
    size_t length() const { return bytes_.size(); }
    std::string toString() const { return std::string(bytes_.begin(), bytes_.end()); }
    // "<0a0b0c0d 0e0f>": lower-case hex in groups of four bytes.
    std::string description() const override;
    bool operator==(const Data& other) const { return bytes_ == other.bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

class Array final : public Object {
public:
    Array() = default;
    explicit Array(std::vector<ObjectPtr> items) : items_(std::move(items)) {}
    static std::shared_ptr<Array> make(std::vector<ObjectPtr> items = {}) { return std::make_shared<Array>(std::move(items)); }

    size_t count() const { return items_.size(); }
    const ObjectPtr& at(size_t i) const { return items_.at(i); }
    void add(ObjectPtr item) { items_.push_back(std::move(item)); }
    const std::vector<ObjectPtr>& items() const { return items_; }
    std::vector<ObjectPtr>& mutableItems() { return items_; }
    std::string description() const override;

private:
    std::vector<ObjectPtr> items_;
};

// A dictionary with text keys that keeps insertion order, so encodings and
// descriptions are stable.
class Dictionary final : public Object {
public:
    using Entry = std::pair<std::string, ObjectPtr>;
    static std::shared_ptr<Dictionary> make() { return std::make_shared<Dictionary>(); }

    // nullptr when absent.
    ObjectPtr objectForKey(const std::string& key) const;
    template <class T>
    std::shared_ptr<T> get(const std::string& key) const { return std::dynamic_pointer_cast<T>(objectForKey(key)); }
    std::optional<std::string> stringForKey(const std::string& key) const;

    // Replacing keeps the key's original position; a nullptr value removes the key.
    void setObject(const std::string& key, ObjectPtr value);
    void setString(const std::string& key, std::string value) { setObject(key, String::make(std::move(value))); }
    void removeObjectForKey(const std::string& key);
    bool contains(const std::string& key) const { return objectForKey(key) != nullptr; }
    size_t count() const { return entries_.size(); }
    const std::vector<Entry>& entries() const { return entries_; }
    std::vector<std::string> allKeys() const;
    std::string description() const override;

private:
    std::vector<Entry> entries_;
};

// Text of a string object, or the description of any other object; nullopt for nullptr.
std::optional<std::string> textOf(const ObjectPtr& value);

}  // namespace platform

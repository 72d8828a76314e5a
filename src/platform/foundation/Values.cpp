#include "platform/foundation/Values.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace platform {

bool Number::boolValue() const
{
    return std::visit([](auto v) { return v != 0; }, value_);
}

long long Number::longLongValue() const
{
    if (auto d = std::get_if<double>(&value_)) {
        if (std::isnan(*d)) return 0;
        if (*d >= 9.2233720368547758e18) return std::numeric_limits<long long>::max();
        if (*d <= -9.2233720368547758e18) return std::numeric_limits<long long>::min();
        return static_cast<long long>(*d);
    }
    if (auto b = std::get_if<bool>(&value_)) return *b ? 1 : 0;
    return std::get<long long>(value_);
}

int Number::intValue() const
{
    long long v = longLongValue();
    return static_cast<int>(std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

double Number::doubleValue() const
{
    return std::visit([](auto v) { return static_cast<double>(v); }, value_);
}

std::string Number::stringValue() const
{
    if (auto d = std::get_if<double>(&value_)) {
        // Shortest text that reads back as the same double, whatever the
        // process locale: 0.1 stays "0.1", never "0,1".
        char buf[64];
        auto result = std::to_chars(buf, buf + sizeof buf, *d);
        return std::string(buf, result.ptr);
    }
    return std::to_string(longLongValue());
}

bool Number::operator==(const Number& other) const
{
    if (isFloatingPoint() || other.isFloatingPoint()) return doubleValue() == other.doubleValue();
    return longLongValue() == other.longLongValue();
}

std::string Data::description() const
{
    static const char* hex = "0123456789abcdef";
    std::string out = "<";
    for (size_t i = 0; i < bytes_.size(); ++i) {
        if (i > 0 && i % 4 == 0) out += ' ';
        out += hex[bytes_[i] >> 4];
        out += hex[bytes_[i] & 0xf];
    }
    out += '>';
    return out;
}

std::string Array::description() const
{
    std::string out = "(";
    for (size_t i = 0; i < items_.size(); ++i) {
        if (i) out += ", ";
        out += items_[i] ? items_[i]->description() : "(null)";
    }
    return out + ")";
}

ObjectPtr Dictionary::objectForKey(const std::string& key) const
{
    for (auto& [k, v] : entries_)
        if (k == key) return v;
    return nullptr;
}

std::optional<std::string> Dictionary::stringForKey(const std::string& key) const
{
    return textOf(objectForKey(key));
}

void Dictionary::setObject(const std::string& key, ObjectPtr value)
{
    if (!value) {
        removeObjectForKey(key);
        return;
    }
    for (auto& [k, v] : entries_) {
        if (k == key) {
            v = std::move(value);
            return;
        }
    }
    entries_.emplace_back(key, std::move(value));
}

void Dictionary::removeObjectForKey(const std::string& key)
{
    std::erase_if(entries_, [&](const Entry& e) { return e.first == key; });
}

std::vector<std::string> Dictionary::allKeys() const
{
    std::vector<std::string> keys;
    for (auto& e : entries_) keys.push_back(e.first);
    return keys;
}

std::string Dictionary::description() const
{
    std::string out = "{";
    bool first = true;
    for (auto& [k, v] : entries_) {
        if (!first) out += "; ";
        first = false;
        out += k + " = " + (v ? v->description() : "(null)");
    }
    return out + "}";
}

std::optional<std::string> textOf(const ObjectPtr& value)
{
    if (!value) return std::nullopt;
    if (auto s = std::dynamic_pointer_cast<String>(value)) return s->value();
    return value->description();
}

}  // namespace platform

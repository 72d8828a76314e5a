#include "platform/foundation/KeyedArchiver.h"

#include <bit>

#include "platform/foundation/Coding.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/KeyedArchiveFormat.h"

namespace platform {
namespace {

using namespace keyedarchive;

class Writer {
public:
    std::vector<uint8_t> bytes;

    void u8(uint8_t v) { bytes.push_back(v); }
    void u32(uint32_t v)
    {
        for (int shift = 24; shift >= 0; shift -= 8) u8(static_cast<uint8_t>(v >> shift));
    }
    void u64(uint64_t v)
    {
        for (int shift = 56; shift >= 0; shift -= 8) u8(static_cast<uint8_t>(v >> shift));
    }
    void f64(double v) { u64(std::bit_cast<uint64_t>(v)); }
    bool length(size_t n)
    {
        if (n > UINT32_MAX) return false;
        u32(static_cast<uint32_t>(n));
        return true;
    }
    bool text(const std::string& s)
    {
        if (!length(s.size())) return false;
        bytes.insert(bytes.end(), s.begin(), s.end());
        return true;
    }

    bool entries(const std::vector<std::pair<std::string, ObjectPtr>>& list, int depth)
    {
        if (!length(list.size())) return false;
        for (auto& [key, item] : list)
            if (!text(key) || !value(item, depth)) return false;
        return true;
    }

    bool value(const ObjectPtr& v, int depth)
    {
        if (depth > kMaxDepth) return false;
        if (!v) {
            u8(kNil);
        } else if (auto s = as<String>(v)) {
            u8(kString);
            return text(s->value());
        } else if (auto n = as<Number>(v)) {
            if (n->isBoolean()) {
                u8(n->boolValue() ? kTrue : kFalse);
            } else if (n->isFloatingPoint()) {
                u8(kReal);
                f64(n->doubleValue());
            } else {
                u8(kInteger);
                u64(static_cast<uint64_t>(n->longLongValue()));
            }
        } else if (auto d = as<Data>(v)) {
            u8(kData);
            if (!length(d->length())) return false;
            bytes.insert(bytes.end(), d->bytes().begin(), d->bytes().end());
        } else if (auto date = as<Date>(v)) {
            u8(kDate);
            f64(date->timeIntervalSince1970());
        } else if (auto array = as<Array>(v)) {
            u8(kArray);
            if (!length(array->count())) return false;
            for (auto& item : array->items())
                if (!value(item, depth + 1)) return false;
        } else if (auto dict = as<Dictionary>(v)) {
            u8(kDictionary);
            return entries(dict->entries(), depth + 1);
        } else if (auto coded = dynamic_cast<const Coding*>(v.get())) {
            KeyedArchiver child;
            coded->encodeWithCoder(child);
            u8(kObject);
            return text(coded->classNameForCoding()) && entries(child.entries(), depth + 1);
        } else {
            return false;
        }
        return true;
    }
};

}  // namespace

std::shared_ptr<Data> KeyedArchiver::archivedDataWithRootObject(const ObjectPtr& root)
{
    Writer w;
    w.bytes.assign(std::begin(kMagic), std::end(kMagic));
    w.u8(kVersion);
    if (!w.value(root, 0)) return nullptr;
    return Data::make(std::move(w.bytes));
}

void KeyedArchiver::encodeObject(const std::string& key, const ObjectPtr& value)
{
    for (auto& entry : entries_) {
        if (entry.first == key) {
            entry.second = value;
            return;
        }
    }
    entries_.emplace_back(key, value);
}

void KeyedArchiver::encodeBool(const std::string& key, bool value)
{
    encodeObject(key, Number::makeBool(value));
}

void KeyedArchiver::encodeInteger(const std::string& key, long long value)
{
    encodeObject(key, Number::make(value));
}

void KeyedArchiver::encodeDouble(const std::string& key, double value)
{
    encodeObject(key, Number::makeDouble(value));
}

}  // namespace platform

#include "platform/foundation/KeyedUnarchiver.h"

#include <bit>
#include <cstring>

#include "platform/foundation/Coding.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/KeyedArchiveFormat.h"
#include "platform/runtime/ClassRegistry.h"

namespace platform {
namespace {

using namespace keyedarchive;
using Entries = std::vector<std::pair<std::string, ObjectPtr>>;

// Every read checks the remaining length first; the first failure sticks.
class KeyedUnarchiverReader {
public:
    KeyedUnarchiverReader(const uint8_t* bytes, size_t length) : p_(bytes), n_(length) {}

    bool ok() const { return ok_; }
    bool atEnd() const { return pos_ == n_; }

    bool take(size_t count, const uint8_t*& out)
    {
        if (!ok_ || n_ - pos_ < count) return ok_ = false;
        out = p_ + pos_;
        pos_ += count;
        return true;
    }
    bool u8(uint8_t& v)
    {
        const uint8_t* b;
        if (!take(1, b)) return false;
        v = *b;
        return true;
    }
    bool u32(uint32_t& v)
    {
        const uint8_t* b;
        if (!take(4, b)) return false;
        v = (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | uint32_t{b[3]};
        return true;
    }
    bool u64(uint64_t& v)
    {
        const uint8_t* b;
        if (!take(8, b)) return false;
        v = 0;
        for (int i = 0; i < 8; ++i) v = (v << 8) | b[i];
        return true;
    }
    bool text(std::string& out)
    {
        uint32_t length;
        const uint8_t* b;
        if (!u32(length) || !take(length, b)) return false;
        out.assign(reinterpret_cast<const char*>(b), length);
        return true;
    }
    // A count can never exceed the bytes left, as every element takes at least one.
    bool count(uint32_t& out) { return u32(out) && (out <= n_ - pos_ || (ok_ = false)); }

    bool entries(Entries& out, int depth)
    {
        uint32_t n;
        if (!count(n)) return false;
        for (uint32_t i = 0; i < n; ++i) {
            std::string key;
            ObjectPtr item;
            if (!text(key) || !value(item, depth)) return false;
            out.emplace_back(std::move(key), std::move(item));
        }
        return true;
    }

    bool value(ObjectPtr& out, int depth)
    {
        if (depth > kMaxDepth) return ok_ = false;
        uint8_t tag;
        if (!u8(tag)) return false;
        switch (tag) {
        case kNil: out = nullptr; return true;
        case kTrue:
        case kFalse: out = Number::makeBool(tag == kTrue); return true;
        case kInteger: {
            uint64_t v;
            if (!u64(v)) return false;
            out = Number::make(static_cast<long long>(v));
            return true;
        }
        case kReal:
        case kDate: {
            uint64_t v;
            if (!u64(v)) return false;
            double d = std::bit_cast<double>(v);
            out = tag == kReal ? ObjectPtr(Number::makeDouble(d)) : ObjectPtr(std::make_shared<Date>(d));
            return true;
        }
        case kString: {
            std::string s;
            if (!text(s)) return false;
            out = String::make(std::move(s));
            return true;
        }
        case kData: {
            uint32_t length;
            const uint8_t* b;
            if (!u32(length) || !take(length, b)) return false;
            out = std::make_shared<Data>(b, length);
            return true;
        }
        case kArray: {
            uint32_t n;
            if (!count(n)) return false;
            auto array = Array::make();
            for (uint32_t i = 0; i < n; ++i) {
                ObjectPtr item;
                if (!value(item, depth + 1)) return false;
                array->add(std::move(item));
            }
            out = array;
            return true;
        }
        case kDictionary: {
            Entries list;
            if (!entries(list, depth + 1)) return false;
            auto dict = Dictionary::make();
            for (auto& [key, item] : list) dict->setObject(key, std::move(item));
            out = dict;
            return true;
        }
        case kObject: {
            std::string className;
            Entries list;
            if (!text(className) || !entries(list, depth + 1)) return false;
            // Checked before anything is made: the archive's data must not
            // run the constructor of a class that cannot be decoded.
            if (!isCodingClass(className)) return ok_ = false;
            ObjectPtr object = ClassRegistry::create(className);
            auto coded = dynamic_cast<Coding*>(object.get());
            if (!coded) return ok_ = false;
            coded->initWithCoder(KeyedUnarchiver(std::move(list)));
            out = object;
            return true;
        }
        default: return ok_ = false;
        }
    }

private:
    const uint8_t* p_;
    size_t n_;
    size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace

ObjectPtr KeyedUnarchiver::unarchiveObjectWithData(const std::shared_ptr<Data>& data)
{
    if (!data) return nullptr;
    return unarchiveObjectWithBytes(data->data(), data->length());
}

ObjectPtr KeyedUnarchiver::unarchiveObjectWithBytes(const uint8_t* bytes, size_t length)
{
    if (!bytes || length < sizeof kMagic + 1) return nullptr;
    if (std::memcmp(bytes, kMagic, sizeof kMagic) != 0 || bytes[sizeof kMagic] != kVersion) return nullptr;
    KeyedUnarchiverReader r(bytes + sizeof kMagic + 1, length - sizeof kMagic - 1);
    ObjectPtr root;
    if (!r.value(root, 0) || !r.atEnd()) return nullptr;
    return root;
}

const ObjectPtr* KeyedUnarchiver::find(const std::string& key) const
{
    for (auto& entry : entries_)
        if (entry.first == key) return &entry.second;
    return nullptr;
}

bool KeyedUnarchiver::containsValueForKey(const std::string& key) const
{
    return find(key) != nullptr;
}

ObjectPtr KeyedUnarchiver::decodeObjectForKey(const std::string& key) const
{
    const ObjectPtr* value = find(key);
    return value ? *value : nullptr;
}

bool KeyedUnarchiver::decodeBoolForKey(const std::string& key) const
{
    auto n = as<Number>(decodeObjectForKey(key));
    return n && n->boolValue();
}

long long KeyedUnarchiver::decodeIntegerForKey(const std::string& key) const
{
    auto n = as<Number>(decodeObjectForKey(key));
    return n ? n->longLongValue() : 0;
}

double KeyedUnarchiver::decodeDoubleForKey(const std::string& key) const
{
    auto n = as<Number>(decodeObjectForKey(key));
    return n ? n->doubleValue() : 0.0;
}

}  // namespace platform

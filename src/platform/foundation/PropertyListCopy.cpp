#include "platform/foundation/PropertyListCopy.h"

#include "platform/foundation/Date.h"
#include "platform/foundation/Values.h"

namespace platform {
namespace {

constexpr int kMaxDepth = 512;

ObjectPtr copyAt(const ObjectPtr& value, int depth)
{
    if (!value || depth > kMaxDepth) return nullptr;
    // Strings, numbers and dates are immutable and can be shared.
    if (as<String>(value) || as<Number>(value) || as<Date>(value)) return value;
    if (auto data = as<Data>(value)) return Data::make(data->bytes());
    if (auto array = as<Array>(value)) {
        auto copy = Array::make();
        for (auto& item : array->items()) {
            auto itemCopy = copyAt(item, depth + 1);
            if (!itemCopy) return nullptr;
            copy->add(std::move(itemCopy));
        }
        return copy;
    }
    if (auto dict = as<Dictionary>(value)) {
        auto copy = Dictionary::make();
        for (auto& [key, item] : dict->entries()) {
            auto itemCopy = copyAt(item, depth + 1);
            if (!itemCopy) return nullptr;
            copy->setObject(key, std::move(itemCopy));
        }
        return copy;
    }
    return nullptr;
}

}  // namespace

ObjectPtr copyPropertyList(const ObjectPtr& value)
{
    return copyAt(value, 0);
}

}  // namespace platform

#pragma once
// Deep copies of property-list values, so that a container handed to a shared
// store (or handed out by it) cannot be changed behind the store's lock.
//
// Thread: any thread, as long as nobody changes the source while it is copied.
#include "platform/runtime/Object.h"

namespace platform {

// nil when the value, or anything inside it, is nil or not a property-list
// type (Dictionary, Array, String, Number, Data, Date), or nests deeper than 512.
ObjectPtr copyPropertyList(const ObjectPtr& value);

}  // namespace platform

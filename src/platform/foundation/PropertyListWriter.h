#pragma once
// Writes Dictionary, Array, String, Number, Data and Date objects as an XML
// property list that PropertyListReader reads back to equal values.
//
// Text that XML cannot carry (invalid UTF-8, control characters other than
// tab and line breaks) is written as U+FFFD so that the file always reads back.
//
// Thread: any thread.
#include <optional>
#include <string>

#include "platform/runtime/Object.h"

namespace platform {

class PropertyListWriter {
public:
    // nullopt when the value, or anything inside it, is nil or not a
    // property-list type, or the nesting is deeper than 512.
    static std::optional<std::string> write(const ObjectPtr& root);
};

}  // namespace platform

#pragma once
// Reads XML property lists (<plist> with dict, array, string, integer, real,
// true, false, data in Base64 and date in "yyyy-MM-dd'T'HH:mm:ss'Z'") into
// Dictionary, Array, String, Number, Data and Date objects.
//
// Anything that is not a well-formed property list (bad XML, unknown
// elements, a key without a value, a number that does not read, entity
// declarations, nesting deeper than 512) yields nil; there is no partial result.
//
// Thread: any thread.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/Object.h"

namespace platform {

class PropertyListReader {
public:
    static ObjectPtr parse(const void* bytes, size_t length);
    static ObjectPtr parse(std::string_view text) { return parse(text.data(), text.size()); }
    static ObjectPtr parse(const std::vector<uint8_t>& bytes) { return parse(bytes.data(), bytes.size()); }
    // nil when the file is missing, unreadable or not a property list.
    static ObjectPtr readFile(const std::string& path);
};

}  // namespace platform

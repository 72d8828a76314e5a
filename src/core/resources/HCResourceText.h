#pragma once
// The text forms that the social resources read from and write to the
// service: booleans, integers and dates. Reading never fails: a text without
// a number reads as 0, a date the formatter cannot read as nil. Numbers are
// always written in the C locale.
//
// Thread: any thread.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/foundation/Date.h"
#include "platform/foundation/Values.h"

namespace HCResourceText {

// YES for "true", "yes", "1" ... (the lenient boolean reading).
bool readBool(const std::optional<std::string>& text);
// "true" or "false".
std::string boolText(bool value);
// "1" or "0".
std::string flagText(bool value);

int32_t readInt(const std::optional<std::string>& text);
// A count or score the service sends unsigned: a negative text reads as 0,
// not as a number near four thousand million.
uint32_t readCount(const std::optional<std::string>& text);
std::string intText(int64_t value);

// Dates in the service's form "yyyy-MM-dd'T'HH:mm:ss'Z'", GMT.
platform::DatePtr readDate(const std::optional<std::string>& text);
// Nil for a nil date.
std::optional<std::string> dateText(const platform::DatePtr& date);

// A text as a boxed value for a keyed archive: nil stays nil.
platform::ObjectPtr boxed(const std::optional<std::string>& text);

}  // namespace HCResourceText

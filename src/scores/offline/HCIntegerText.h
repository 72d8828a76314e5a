#pragma once
// The whole numbers the offline store keeps in INTEGER columns (ids, scores)
// arrive as text, from replies and from the bundle's files. Only text that is
// exactly a decimal integer of the 64-bit range is taken: SQLite would keep
// "NaN" as text in an INTEGER column, and the lenient readings would turn
// "2^63", "1e308" or "NaN" into some other number that was never sent.
//
// Thread: any thread.
#include <cstdint>
#include <optional>
#include <string_view>

// The value of an optional "-" and decimal digits, nothing else; nil for any
// other text or a value outside the range.
std::optional<std::int64_t> HCIntegerFromText(std::string_view text);

inline bool HCIsIntegerText(std::string_view text)
{
    return HCIntegerFromText(text).has_value();
}

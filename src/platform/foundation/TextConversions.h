#pragma once
// The lenient readings of text that the service's values get: a boolean, an
// integer or a real read from the start of a text, ignoring what follows.
//
// All readings skip leading blanks, never depend on the process locale and
// never fail: text without a number reads as 0 (or NO).
//
// Thread: any thread.
#include <string_view>

namespace platform {

// YES when, after leading blanks, an optional sign and leading zeros, the text
// starts with Y, y, T, t or a digit 1 to 9.
bool boolValue(std::string_view text);
// The leading decimal integer, saturated to the type's range; 0 when none.
int intValue(std::string_view text);
long integerValue(std::string_view text);
long long longLongValue(std::string_view text);
// The leading decimal number (digits, point, exponent) read in the C locale;
// 0 when none. Overflow gives +/-HUGE_VAL.
double doubleValue(std::string_view text);

}  // namespace platform

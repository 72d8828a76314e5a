#pragma once
// Percent-encoding and form decoding shared by the server's request parser
// and its OAuth verifier. Pure functions; any thread.
#include <optional>
#include <string>
#include <string_view>

#include "localserver/Request.h"

namespace localserver {

// RFC 3986 encoding: everything but ALPHA, DIGIT, "-", ".", "_" and "~"
// becomes %XX with upper-case hex digits.
std::string percentEncode(std::string_view text);

// Decodes %XX escapes (and "+" as a space when `plusIsSpace`); nothing when an
// escape is malformed.
std::optional<std::string> percentDecode(std::string_view text, bool plusIsSpace);

// Splits an application/x-www-form-urlencoded text (a query or a body) into
// pairs in order; "name" without "=" has an empty value, empty pieces between
// "&" are skipped. Nothing when an escape is malformed.
std::optional<Params> parseForm(std::string_view text);

}  // namespace localserver

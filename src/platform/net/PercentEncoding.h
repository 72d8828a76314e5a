#pragma once
// Percent-encoding of RFC 3986: every byte but ALPHA, DIGIT, "-", ".", "_"
// and "~" becomes %XX with upper-case hex. OAuth signatures and form bodies
// both need exactly this form.
//
// Thread: pure functions; any thread.
#include <string>
#include <string_view>

namespace platform {

std::string percentEncode(std::string_view text);
// Appends the encoded text to `out`; signing builds its strings this way, one
// reserved buffer each instead of a string per encoded piece.
void appendPercentEncoded(std::string& out, std::string_view text);

}  // namespace platform

#pragma once
// Text helpers of the JSON writer.
//
// Thread: any (pure functions).
#include <string>
#include <string_view>

namespace hcjson {

// True when the text is well-formed UTF-8: no stray or missing continuation
// bytes, no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text);

// The text unchanged when it is valid UTF-8; otherwise each byte that does
// not start a valid sequence (overlong forms, surrogates and values above
// U+10FFFF included) becomes U+FFFD.
std::string validUtf8(std::string_view text);

// Shortest text that reads back as the same double, always with a fraction
// or an exponent so that it decodes as a floating-point number again.
std::string doubleText(double value);

}  // namespace hcjson

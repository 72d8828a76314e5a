#pragma once
// HMAC-SHA1 signatures as OAuth 1.0 writes them.
//
// Thread: pure functions; any thread.
#include <string>
#include <string_view>

class OAuthSignatureParameter {
public:
    // Base64 of HMAC-SHA1 over the text's UTF-8 bytes, keyed with the secret's bytes.
    static std::string HMAC_SHA1SignatureForText(const std::string& text, const std::string& secret);
};

// Percent-encoding of RFC 3986 as OAuth requires it: everything but
// ALPHA, DIGIT, "-", ".", "_" and "~" becomes %XX with upper-case hex.
std::string OAuthPercentEncode(std::string_view text);

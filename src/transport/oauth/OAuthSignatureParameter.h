#pragma once
// HMAC-SHA1 signatures as OAuth 1.0 writes them.
//
// Thread: pure functions; any thread.
#include <string>

class OAuthSignatureParameter {
public:
    // Base64 of HMAC-SHA1 over the text's UTF-8 bytes, keyed with the secret's bytes.
    static std::string HMAC_SHA1SignatureForText(const std::string& text, const std::string& secret);
};

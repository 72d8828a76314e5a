#pragma once
// HMAC-SHA1 signatures as OAuth 1.0 writes them.
//
// Each thread keeps one keyed HMAC context for the last key it signed with
// (a consumer and token's secrets): the provider's request thread signs
// request after request with the same key, and re-keying or looking the
// algorithm up by name for each would cost more than the digest itself.
//
// Thread: any thread; the context is the calling thread's own.
#include <string>
#include <string_view>

class OAuthSignatureParameter {
public:
    // Base64 of HMAC-SHA1 over the text's UTF-8 bytes, keyed with the secret's bytes.
    static std::string HMAC_SHA1SignatureForText(std::string_view text, const std::string& secret);
};

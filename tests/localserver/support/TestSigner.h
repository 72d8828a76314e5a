#pragma once
// A second, deliberately separate OAuth 1.0 HMAC-SHA1 signer, so that the
// server's verifier is never checked against its own code. Any thread.
#include <string>
#include <utility>
#include <vector>

namespace localserver_test {

using Pairs = std::vector<std::pair<std::string, std::string>>;

struct Credentials {
    std::string consumerKey;
    std::string consumerSecret;
    std::string token;  // empty: consumer only
    std::string tokenSecret;
};

// The protocol parameters (with "oauth_signature", without the optional
// "oauth_version") for a request to `url` (scheme, host, path; no query)
// carrying `params` (query and form body).
Pairs signRequest(const std::string& method, const std::string& url, const Pairs& params, const Credentials& credentials,
                  const std::string& nonce = "nonce-1", const std::string& timestamp = "1300000000");

// "OAuth a=\"b\", ..." for the given protocol parameters.
std::string authorizationHeader(const Pairs& oauthParams);

// The JSON API's "X-HC-Signature" for a request target (path and query as
// sent) and body: Base64 HMAC-SHA1 keyed with secret + "&" over
// path + "+" + secret + "+" + method + "+" + (query for GET and DELETE, else body).
std::string xpSignature(const std::string& method, const std::string& target, const std::string& body,
                        const std::string& secret);
// RFC 3986 escaping for building query strings and bodies in tests.
std::string escape(const std::string& text);
// "a=1&b=2" with both sides escaped.
std::string formEncode(const Pairs& params);

}  // namespace localserver_test

#pragma once
// OAuth 1.0 (RFC 5849) signature checking, HMAC-SHA1 only. Pure functions
// apart from `verify`, which reads the accounts; any thread.
#include <optional>
#include <string>
#include <string_view>

#include "localserver/Request.h"

namespace localserver {
class Accounts;
}

namespace localserver::oauth {

std::string base64(std::string_view bytes);
std::string hmacSha1Base64(std::string_view key, std::string_view text);
// consumer secret "&" token secret, each percent-encoded.
std::string signingKey(std::string_view consumerSecret, std::string_view tokenSecret);

// Scheme and host lower-cased, the port only when it is not the scheme's
// default, then the path as it was sent.
std::string baseStringUri(std::string_view scheme, std::string_view hostAndPort, std::string_view rawPath);
// Every pair but "oauth_signature", name and value percent-encoded, sorted by
// name then value, joined with "=" and "&".
std::string normalizedParameters(const Params& params);
std::string signatureBaseString(std::string_view method, std::string_view baseUri, const Params& params);

// The parameters of an "OAuth" Authorization header without "realm";
// nothing for another scheme or a malformed header.
std::optional<Params> parseAuthorizationHeader(std::string_view value);

struct Verdict {
    bool ok = false;
    std::string gameId;
    std::string userId;  // empty for a consumer-only ("2-legged") request
    std::string reason;  // why it failed, for the reply body and the log
};

// Checks a request whose signed parameters (query, form body and the
// header's protocol parameters, "oauth_signature" among them) are given.
// Fails for a missing or wrong signature, another method than HMAC-SHA1, a
// version other than "1.0", a missing timestamp or nonce, an unknown consumer
// or token, a repeated protocol parameter, and when `needUser` holds but no
// token was given. Timestamps and nonces are not checked for freshness or
// replay: clients under test run on manual clocks, and a replayed request
// here would only repeat a test's own traffic.
Verdict verify(const Accounts& accounts, std::string_view method, std::string_view baseUri,
               const Params& signedParams, bool needUser);

}  // namespace localserver::oauth

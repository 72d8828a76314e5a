#pragma once
// The signature base string of RFC 5849 (section 3.4.1).
//
// Thread: pure functions; any thread.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using OAuthParameterList = std::vector<std::pair<std::string, std::string>>;
// A name and value already percent-encoded, viewing text the caller keeps.
using OAuthEncodedParameter = std::pair<std::string_view, std::string_view>;

// "scheme://host[:port]/path": scheme and host lower-cased, default ports
// dropped, query and fragment removed.
std::string OAuthNormalizedURL(const std::string& url);

// The decoded name/value pairs of a URL's query string, in order.
OAuthParameterList OAuthQueryParameters(const std::string& url);

// Every pair percent-encoded, sorted by name then value, joined with "=" and "&".
std::string OAuthNormalizedParameters(const OAuthParameterList& parameters);

// METHOD & encoded normalised URL & encoded normalised parameters. The query
// of `url` is merged into `parameters` here.
std::string OAuthSignatureBaseString(const std::string& method, const std::string& url,
                                     const OAuthParameterList& parameters);

// The same base string from parts a signer has already prepared: the
// normalised URL and every signed pair encoded (the URL's query among them).
// Sorts `parameters` and appends the base string to `out`.
void appendOAuthSignatureBaseString(std::string& out, std::string_view method, std::string_view normalizedURL,
                                    std::vector<OAuthEncodedParameter>& parameters);

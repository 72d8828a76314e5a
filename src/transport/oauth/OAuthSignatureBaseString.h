#pragma once
// The signature base string of RFC 5849 (section 3.4.1).
//
// Thread: pure functions; any thread.
#include <string>
#include <utility>
#include <vector>

using OAuthParameterList = std::vector<std::pair<std::string, std::string>>;

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

#pragma once
// The check of the JSON API's product signature, written from the wire
// description alone: the request carries "X-HC-Key" (a game's product key)
// and "X-HC-Signature", the Base64 HMAC-SHA1, keyed with the game's secret
// followed by "&", of
//     path "+" secret "+" method "+" arguments
// where the path is the request target's path as sent (without the query)
// and the arguments are the raw query text for GET and DELETE and the raw
// body for every other method. There is no timestamp or nonce.
// Pure apart from reading the accounts; any thread.
#include <string>
#include <string_view>

#include "localserver/Request.h"

namespace localserver {
class Accounts;
}

namespace localserver::xp {

std::string signedText(std::string_view method, std::string_view target, std::string_view body,
                       std::string_view secret);
std::string signature(std::string_view method, std::string_view target, std::string_view body,
                      std::string_view secret);

struct Verdict {
    bool ok = false;
    std::string gameId;
    std::string reason;
};

Verdict verify(const Accounts& accounts, const Request& request);

}  // namespace localserver::xp

#include "localserver/XPSignature.h"

#include <openssl/crypto.h>

#include "localserver/Accounts.h"
#include "localserver/OAuth.h"

namespace localserver::xp {

std::string signedText(std::string_view method, std::string_view target, std::string_view body,
                       std::string_view secret)
{
    const std::size_t question = target.find('?');
    const std::string_view path = target.substr(0, question);
    std::string_view arguments;
    if (method == "GET" || method == "DELETE") {
        arguments = question == std::string_view::npos ? std::string_view() : target.substr(question + 1);
    } else {
        arguments = body;
    }
    std::string text;
    text.append(path).append("+").append(secret).append("+").append(method).append("+").append(arguments);
    return text;
}

std::string signature(std::string_view method, std::string_view target, std::string_view body,
                      std::string_view secret)
{
    return oauth::hmacSha1Base64(std::string(secret) + "&", signedText(method, target, body, secret));
}

Verdict verify(const Accounts& accounts, const Request& request)
{
    Verdict verdict;
    const auto key = request.header("X-HC-Key");
    const auto sent = request.header("X-HC-Signature");
    if (!key || !sent) {
        verdict.reason = "missing X-HC-Key or X-HC-Signature";
        return verdict;
    }
    const auto game = accounts.gameByProductKey(*key);
    if (!game) {
        verdict.reason = "unknown product key";
        return verdict;
    }
    const std::string expected = signature(request.method, request.target, request.body, game->secret);
    if (expected.size() != sent->size() || CRYPTO_memcmp(expected.data(), sent->data(), expected.size()) != 0) {
        verdict.reason = "signature mismatch";
        return verdict;
    }
    verdict.ok = true;
    verdict.gameId = game->id;
    return verdict;
}

}  // namespace localserver::xp

#include "localserver/OAuth.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "localserver/Accounts.h"
#include "localserver/FormCodec.h"

namespace localserver::oauth {

namespace {

std::string lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

std::string base64(std::string_view bytes)
{
    std::string out(4 * ((bytes.size() + 2) / 3), '\0');
    const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                        reinterpret_cast<const unsigned char*>(bytes.data()),
                                        static_cast<int>(bytes.size()));
    out.resize(static_cast<std::size_t>(written));
    return out;
}

std::string hmacSha1Base64(std::string_view key, std::string_view text)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    HMAC(EVP_sha1(), key.data(), static_cast<int>(key.size()), reinterpret_cast<const unsigned char*>(text.data()),
         text.size(), digest, &length);
    return base64(std::string_view(reinterpret_cast<const char*>(digest), length));
}

std::string signingKey(std::string_view consumerSecret, std::string_view tokenSecret)
{
    return percentEncode(consumerSecret) + "&" + percentEncode(tokenSecret);
}

std::string baseStringUri(std::string_view scheme, std::string_view hostAndPort, std::string_view rawPath)
{
    const std::string lowScheme = lower(scheme);
    std::string host = lower(hostAndPort);
    const std::size_t colon = host.rfind(':');
    if (colon != std::string::npos && host.find(']', colon) == std::string::npos) {
        const std::string port = host.substr(colon + 1);
        if ((lowScheme == "http" && port == "80") || (lowScheme == "https" && port == "443") || port.empty()) {
            host.erase(colon);
        }
    }
    return lowScheme + "://" + host + (rawPath.empty() ? std::string("/") : std::string(rawPath));
}

std::string normalizedParameters(const Params& params)
{
    std::vector<std::pair<std::string, std::string>> encoded;
    encoded.reserve(params.size());
    for (const auto& [name, value] : params) {
        if (name != "oauth_signature") {
            encoded.emplace_back(percentEncode(name), percentEncode(value));
        }
    }
    std::sort(encoded.begin(), encoded.end());
    std::string out;
    for (const auto& [name, value] : encoded) {
        if (!out.empty()) {
            out.push_back('&');
        }
        out += name;
        out.push_back('=');
        out += value;
    }
    return out;
}

std::string signatureBaseString(std::string_view method, std::string_view baseUri, const Params& params)
{
    std::string upper(method);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    return upper + "&" + percentEncode(baseUri) + "&" + percentEncode(normalizedParameters(params));
}

std::optional<Params> parseAuthorizationHeader(std::string_view value)
{
    std::size_t i = 0;
    while (i < value.size() && isSpace(value[i])) {
        ++i;
    }
    if (value.size() - i < 5 || lower(value.substr(i, 5)) != "oauth" ||
        (value.size() - i > 5 && !isSpace(value[i + 5]))) {
        return std::nullopt;
    }
    i += 5;
    Params params;
    bool expectComma = false;
    while (true) {
        while (i < value.size() && isSpace(value[i])) {
            ++i;
        }
        if (i == value.size()) {
            return params;
        }
        if (expectComma) {
            if (value[i] != ',') {
                return std::nullopt;
            }
            ++i;
            while (i < value.size() && isSpace(value[i])) {
                ++i;
            }
        }
        const std::size_t equals = value.find('=', i);
        if (equals == std::string_view::npos) {
            return std::nullopt;
        }
        std::string_view rawName = value.substr(i, equals - i);
        while (!rawName.empty() && isSpace(rawName.back())) {
            rawName.remove_suffix(1);
        }
        i = equals + 1;
        while (i < value.size() && isSpace(value[i])) {
            ++i;
        }
        if (rawName.empty() || i >= value.size() || value[i] != '"') {
            return std::nullopt;
        }
        const std::size_t close = value.find('"', i + 1);
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        auto name = percentDecode(rawName, false);
        auto text = percentDecode(value.substr(i + 1, close - i - 1), false);
        if (!name || !text) {
            return std::nullopt;
        }
        if (*name != "realm") {
            params.emplace_back(std::move(*name), std::move(*text));
        }
        i = close + 1;
        expectComma = true;
    }
}

Verdict verify(const Accounts& accounts, std::string_view method, std::string_view baseUri,
               const Params& signedParams, bool needUser)
{
    Verdict verdict;
    std::set<std::string> seen;
    for (const auto& [name, value] : signedParams) {
        if (name.rfind("oauth_", 0) == 0 && !seen.insert(name).second) {
            verdict.reason = "repeated protocol parameter " + name;
            return verdict;
        }
    }
    const auto consumerKey = firstValue(signedParams, "oauth_consumer_key");
    const auto signature = firstValue(signedParams, "oauth_signature");
    const auto signatureMethod = firstValue(signedParams, "oauth_signature_method");
    const auto version = firstValue(signedParams, "oauth_version");
    const auto tokenValue = firstValue(signedParams, "oauth_token");
    if (!consumerKey || !signature) {
        verdict.reason = "unsigned request";
        return verdict;
    }
    if (signatureMethod != "HMAC-SHA1") {
        verdict.reason = "unsupported signature method";
        return verdict;
    }
    if (version && *version != "1.0") {
        verdict.reason = "unsupported version";
        return verdict;
    }
    if (!firstValue(signedParams, "oauth_timestamp") || !firstValue(signedParams, "oauth_nonce")) {
        verdict.reason = "missing timestamp or nonce";
        return verdict;
    }
    const auto game = accounts.gameByProductKey(*consumerKey);
    if (!game) {
        verdict.reason = "unknown consumer";
        return verdict;
    }
    std::optional<Token> token;
    if (tokenValue && !tokenValue->empty()) {
        token = accounts.token(*tokenValue);
        if (!token) {
            verdict.reason = "unknown token";
            return verdict;
        }
    }
    if (needUser && !token) {
        verdict.reason = "a user token is required";
        return verdict;
    }
    const std::string expected = hmacSha1Base64(signingKey(game->secret, token ? token->secret : std::string()),
                                                signatureBaseString(method, baseUri, signedParams));
    if (expected.size() != signature->size() || CRYPTO_memcmp(expected.data(), signature->data(), expected.size()) != 0) {
        verdict.reason = "signature mismatch";
        return verdict;
    }
    verdict.ok = true;
    verdict.gameId = game->id;
    verdict.userId = token ? token->userId : std::string();
    return verdict;
}

}  // namespace localserver::oauth

#include "support/TestSigner.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace localserver_test {

std::string escape(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out.push_back(static_cast<char>(c));
        } else {
            char buffer[4];
            std::snprintf(buffer, sizeof buffer, "%%%02X", c);
            out += buffer;
        }
    }
    return out;
}

std::string formEncode(const Pairs& params)
{
    std::string out;
    for (const auto& [name, value] : params) {
        out += (out.empty() ? "" : "&") + escape(name) + "=" + escape(value);
    }
    return out;
}

Pairs signRequest(const std::string& method, const std::string& url, const Pairs& params, const Credentials& credentials,
                  const std::string& nonce, const std::string& timestamp)
{
    Pairs oauth = {{"oauth_consumer_key", credentials.consumerKey},
                   {"oauth_nonce", nonce},
                   {"oauth_signature_method", "HMAC-SHA1"},
                   {"oauth_timestamp", timestamp}};
    if (!credentials.token.empty()) {
        oauth.emplace_back("oauth_token", credentials.token);
    }
    std::vector<std::pair<std::string, std::string>> encoded;
    for (const Pairs* list : {&params, static_cast<const Pairs*>(&oauth)}) {
        for (const auto& [name, value] : *list) {
            encoded.emplace_back(escape(name), escape(value));
        }
    }
    std::sort(encoded.begin(), encoded.end());
    std::string joined;
    for (const auto& [name, value] : encoded) {
        joined += (joined.empty() ? "" : "&") + name + "=" + value;
    }
    const std::string text = method + "&" + escape(url) + "&" + escape(joined);
    const std::string key = escape(credentials.consumerSecret) + "&" + escape(credentials.tokenSecret);

    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    HMAC(EVP_sha1(), key.data(), static_cast<int>(key.size()), reinterpret_cast<const unsigned char*>(text.data()),
         text.size(), digest, &length);
    unsigned char base64[64];
    const int written = EVP_EncodeBlock(base64, digest, static_cast<int>(length));
    oauth.emplace_back("oauth_signature", std::string(reinterpret_cast<char*>(base64), static_cast<size_t>(written)));
    return oauth;
}

std::string xpSignature(const std::string& method, const std::string& target, const std::string& body,
                        const std::string& secret)
{
    const auto question = target.find('?');
    const bool queryIsArgument = method == "GET" || method == "DELETE";
    std::string arguments;
    if (queryIsArgument && question != std::string::npos) {
        arguments = target.substr(question + 1);
    } else if (!queryIsArgument) {
        arguments = body;
    }
    const std::string text = target.substr(0, question) + "+" + secret + "+" + method + "+" + arguments;
    const std::string key = secret + "&";
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    HMAC(EVP_sha1(), key.data(), static_cast<int>(key.size()), reinterpret_cast<const unsigned char*>(text.data()),
         text.size(), digest, &length);
    unsigned char base64[64];
    const int written = EVP_EncodeBlock(base64, digest, static_cast<int>(length));
    return std::string(reinterpret_cast<char*>(base64), static_cast<size_t>(written));
}

std::string authorizationHeader(const Pairs& oauthParams)
{
    std::string out = "OAuth ";
    for (std::size_t i = 0; i < oauthParams.size(); ++i) {
        out += (i ? ", " : "") + escape(oauthParams[i].first) + "=\"" + escape(oauthParams[i].second) + "\"";
    }
    return out;
}

}  // namespace localserver_test

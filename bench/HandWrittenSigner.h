#pragma once
// The signer a developer would write by hand against OpenSSL for one known
// service: HMAC-SHA1 request signing with no URL parsing (the caller passes
// an already normal URL: lower-case scheme and host, no default port, no
// query or fragment), parameters carried in the query for GET and in a form
// body otherwise, no binary parts. The benchmarks compare the library's
// request preparation with it, so it does the same work in the smallest
// honest way: each text percent-encoded once into a reserved buffer, one
// sort, one-shot HMAC, a fresh nonce from RAND_bytes and the wall-clock
// second unless the caller fixes both.
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bench {

struct SignedParts {
    std::string url;            // with the query for GET
    std::string authorization;  // the Authorization header's value
    std::string body;           // the form body; empty for GET
};

inline void appendEncoded(std::string& out, std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (unsigned char c : text) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
}

inline std::string encoded(std::string_view text)
{
    std::string out;
    out.reserve(text.size() * 3);
    appendEncoded(out, text);
    return out;
}

// A random version-4 UUID in upper-case hex, the nonce's usual form.
inline std::string freshNonce()
{
    unsigned char bytes[16];
    RAND_bytes(bytes, sizeof bytes);
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(36);
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
        out += kHex[bytes[i] >> 4];
        out += kHex[bytes[i] & 0x0F];
    }
    return out;
}

class HandWrittenSigner {
public:
    HandWrittenSigner(std::string consumerKey, std::string_view consumerSecret, std::string tokenKey,
                      std::string_view tokenSecret)
        : consumerKey_(std::move(consumerKey)), tokenKey_(std::move(tokenKey)),
          key_(encoded(consumerSecret) + "&" + encoded(tokenSecret))
    {
    }

    // `nonce` and `timestamp` empty: fresh ones.
    SignedParts sign(std::string_view method, std::string_view url,
                     const std::vector<std::pair<std::string, std::string>>& parameters, std::string nonce = {},
                     std::string timestamp = {}) const
    {
        if (nonce.empty()) nonce = freshNonce();
        if (timestamp.empty()) timestamp = std::to_string(static_cast<long long>(std::time(nullptr)));

        // Every pair encoded once; the form/query text and the sorted
        // normal parameters are both built from these.
        std::vector<std::pair<std::string, std::string>> pairs;
        pairs.reserve(parameters.size() + 6);
        std::string form;
        for (const auto& [name, value] : parameters) {
            pairs.emplace_back(encoded(name), encoded(value));
            if (!form.empty()) form += '&';
            form += pairs.back().first;
            form += '=';
            form += pairs.back().second;
        }
        const std::pair<const char*, const std::string*> oauth[] = {
            {"oauth_consumer_key", &consumerKey_}, {"oauth_nonce", &nonce},     {"oauth_signature_method", &kMethod},
            {"oauth_timestamp", &timestamp},       {"oauth_version", &kVersion}, {"oauth_token", &tokenKey_},
        };
        for (const auto& [name, value] : oauth) pairs.emplace_back(name, encoded(*value));
        std::sort(pairs.begin(), pairs.end());

        std::string normal;
        normal.reserve(form.size() + 256);
        for (const auto& [name, value] : pairs) {
            if (!normal.empty()) normal += '&';
            normal += name;
            normal += '=';
            normal += value;
        }
        std::string base;
        base.reserve(method.size() + url.size() * 3 + normal.size() * 3 + 2);
        base += method;
        base += '&';
        appendEncoded(base, url);
        base += '&';
        appendEncoded(base, normal);

        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int digestLength = 0;
        HMAC(EVP_sha1(), key_.data(), static_cast<int>(key_.size()), reinterpret_cast<const unsigned char*>(base.data()),
             base.size(), digest, &digestLength);
        unsigned char signature[4 * ((EVP_MAX_MD_SIZE + 2) / 3) + 1];
        const int signatureLength = EVP_EncodeBlock(signature, digest, static_cast<int>(digestLength));

        SignedParts out;
        out.authorization.reserve(320);
        out.authorization = "OAuth realm=\"\"";
        for (const auto& [name, value] : oauth) {
            out.authorization += ", ";
            out.authorization += name;
            out.authorization += "=\"";
            appendEncoded(out.authorization, *value);
            out.authorization += '"';
        }
        out.authorization += ", oauth_signature=\"";
        appendEncoded(out.authorization,
                      std::string_view(reinterpret_cast<const char*>(signature), static_cast<size_t>(signatureLength)));
        out.authorization += '"';

        out.url = url;
        if (method == "GET") {
            if (!form.empty()) out.url += '?' + form;
        } else {
            out.body = std::move(form);
        }
        return out;
    }

private:
    inline static const std::string kMethod = "HMAC-SHA1";
    inline static const std::string kVersion = "1.0";
    std::string consumerKey_;
    std::string tokenKey_;
    std::string key_;
};

}  // namespace bench

#include "transport/oauth/OAuthSignatureParameter.h"

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/params.h>

namespace {

EVP_MAC* hmacAlgorithm()
{
    // Fetched once for the process; it lives as long as the library does.
    static EVP_MAC* const mac = EVP_MAC_fetch(nullptr, "HMAC", nullptr);
    return mac;
}

// One thread's HMAC-SHA1 context, keyed with the last secret it was given.
class KeyedHmacSha1 {
public:
    KeyedHmacSha1() = default;
    KeyedHmacSha1(const KeyedHmacSha1&) = delete;
    KeyedHmacSha1& operator=(const KeyedHmacSha1&) = delete;
    ~KeyedHmacSha1()
    {
        EVP_MAC_CTX_free(context_);
        OPENSSL_cleanse(key_.data(), key_.size());
    }

    // The digest's length, or 0 when OpenSSL failed.
    size_t digest(const std::string& key, std::string_view text, unsigned char* out, size_t outSize)
    {
        if (!begin(key)) return 0;
        size_t length = 0;
        if (!EVP_MAC_update(context_, reinterpret_cast<const unsigned char*>(text.data()), text.size()) ||
            !EVP_MAC_final(context_, out, &length, outSize)) {
            forget();
            return 0;
        }
        return length;
    }

private:
    bool begin(const std::string& key)
    {
        if (context_ != nullptr && keyed_ && key == key_) return EVP_MAC_init(context_, nullptr, 0, nullptr) == 1;
        forget();
        if (hmacAlgorithm() == nullptr) return false;
        context_ = EVP_MAC_CTX_new(hmacAlgorithm());
        if (context_ == nullptr) return false;
        char digestName[] = "SHA1";
        const OSSL_PARAM parameters[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, digestName, 0),
                                         OSSL_PARAM_construct_end()};
        // An empty key is a valid HMAC key (a consumer signing without a token secret).
        static const unsigned char kNoKey = 0;
        const auto* keyBytes = key.empty() ? &kNoKey : reinterpret_cast<const unsigned char*>(key.data());
        if (EVP_MAC_init(context_, keyBytes, key.size(), parameters) != 1) {
            forget();
            return false;
        }
        key_ = key;
        keyed_ = true;
        return true;
    }

    void forget()
    {
        EVP_MAC_CTX_free(context_);
        context_ = nullptr;
        OPENSSL_cleanse(key_.data(), key_.size());
        key_.clear();
        keyed_ = false;
    }

    EVP_MAC_CTX* context_ = nullptr;
    std::string key_;
    bool keyed_ = false;
};

}  // namespace

std::string OAuthSignatureParameter::HMAC_SHA1SignatureForText(std::string_view text, const std::string& secret)
{
    thread_local KeyedHmacSha1 hmac;
    unsigned char digest[EVP_MAX_MD_SIZE];
    const size_t digestLength = hmac.digest(secret, text, digest, sizeof digest);
    if (digestLength == 0) return {};
    unsigned char encoded[4 * ((EVP_MAX_MD_SIZE + 2) / 3) + 1];
    const int length = EVP_EncodeBlock(encoded, digest, static_cast<int>(digestLength));
    return std::string(reinterpret_cast<const char*>(encoded), static_cast<size_t>(length));
}

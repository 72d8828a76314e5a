#include "transport/oauth/OAuthSignatureParameter.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <vector>

std::string OAuthSignatureParameter::HMAC_SHA1SignatureForText(const std::string& text, const std::string& secret)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    size_t digestLength = 0;
    if (!EVP_Q_mac(nullptr, "HMAC", nullptr, "SHA1", nullptr, secret.data(), secret.size(),
                   reinterpret_cast<const unsigned char*>(text.data()), text.size(), digest, sizeof digest,
                   &digestLength))
        return {};
    std::vector<unsigned char> encoded(4 * ((digestLength + 2) / 3) + 1);
    int length = EVP_EncodeBlock(encoded.data(), digest, static_cast<int>(digestLength));
    return std::string(reinterpret_cast<const char*>(encoded.data()), static_cast<size_t>(length));
}

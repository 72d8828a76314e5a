#include "platform/foundation/Base64.h"

#include <openssl/evp.h>

#include <climits>

namespace platform {

std::string base64Encode(const std::vector<uint8_t>& bytes)
{
    if (bytes.empty()) return {};
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), bytes.data(), static_cast<int>(bytes.size()));
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return out;
}

std::optional<std::vector<uint8_t>> base64Decode(std::string_view text)
{
    std::string compact;
    compact.reserve(text.size());
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
        compact += c;
    }
    if (compact.size() % 4 != 0 || compact.size() > static_cast<size_t>(INT_MAX)) return std::nullopt;
    if (compact.empty()) return std::vector<uint8_t>();
    size_t padding = 0;
    while (padding < 2 && compact[compact.size() - 1 - padding] == '=') ++padding;
    // '=' is only allowed as trailing padding.
    if (compact.find('=') < compact.size() - padding) return std::nullopt;
    std::vector<uint8_t> out(compact.size() / 4 * 3);
    int n = EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(compact.data()),
                            static_cast<int>(compact.size()));
    if (n < 0 || static_cast<size_t>(n) < padding) return std::nullopt;
    out.resize(static_cast<size_t>(n) - padding);
    return out;
}

}  // namespace platform

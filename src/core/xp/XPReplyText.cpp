#include "core/xp/XPReplyText.h"

#include "kernel/json/JsonText.h"
#include "transport/http/NetStringEncoding.h"

namespace {

std::optional<std::string> asAscii(const std::vector<uint8_t>& bytes)
{
    for (uint8_t c : bytes)
        if (c >= 0x80) return std::nullopt;
    return std::string(bytes.begin(), bytes.end());
}

std::string latin1ToUtf8(const std::vector<uint8_t>& bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (uint8_t c : bytes) {
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

}  // namespace

std::optional<std::string> xpReplyText(const std::vector<uint8_t>& bytes, int netStringEncoding)
{
    switch (netStringEncoding) {
    case kNetISOLatin1StringEncoding:
        return latin1ToUtf8(bytes);
    case kNetASCIIStringEncoding:
        return asAscii(bytes);
    case kNetNoStringEncoding:
    case kNetUTF8StringEncoding:
        if (std::string text(bytes.begin(), bytes.end()); hcjson::isValidUtf8(text)) return text;
        return asAscii(bytes);
    default:
        // An encoding we do not read (UTF-16, code page 1252): ASCII is what survives.
        return asAscii(bytes);
    }
}

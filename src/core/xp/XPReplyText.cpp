#include "core/xp/XPReplyText.h"

#include "transport/http/NetStringEncoding.h"

namespace {

bool isValidUtf8(const std::vector<uint8_t>& bytes)
{
    size_t i = 0;
    while (i < bytes.size()) {
        const uint8_t c = bytes[i];
        size_t length = 0;
        uint32_t codePoint = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            length = 2;
            codePoint = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3;
            codePoint = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4;
            codePoint = c & 0x07;
        } else {
            return false;
        }
        if (i + length > bytes.size()) return false;
        for (size_t k = 1; k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80) return false;
            codePoint = (codePoint << 6) | (bytes[i + k] & 0x3F);
        }
        static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (codePoint < kSmallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

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
        if (isValidUtf8(bytes)) return std::string(bytes.begin(), bytes.end());
        return asAscii(bytes);
    default:
        // An encoding we do not read (UTF-16, code page 1252): ASCII is what survives.
        return asAscii(bytes);
    }
}

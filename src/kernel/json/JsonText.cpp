#include "kernel/json/JsonText.h"

#include <charconv>
#include <cstdint>

namespace hcjson {
namespace {

// Length of the valid UTF-8 sequence at `i`, or 0 when none starts there.
size_t sequenceLength(std::string_view s, size_t i)
{
    auto byte = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
    uint8_t b0 = byte(i);
    if (b0 < 0x80) return 1;
    size_t length;
    uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0) low = 0xA0;   // overlong
        if (b0 == 0xED) high = 0x9F;  // surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0) low = 0x90;   // overlong
        if (b0 == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
        return 0;
    }
    if (i + length > s.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (size_t k = 2; k < length; ++k)
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    return length;
}

// Length of the valid prefix.
size_t validPrefix(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        if (static_cast<uint8_t>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        size_t n = sequenceLength(text, i);
        if (n == 0) break;
        i += n;
    }
    return i;
}

}  // namespace

bool isValidUtf8(std::string_view text)
{
    return validPrefix(text) == text.size();
}

std::string validUtf8(std::string_view text)
{
    size_t i = validPrefix(text);
    if (i == text.size()) return std::string(text);

    std::string out(text.substr(0, i));
    while (i < text.size()) {
        size_t n = sequenceLength(text, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(text.substr(i, n));
            i += n;
        }
    }
    return out;
}

std::string doubleText(double value)
{
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, ec == std::errc() ? end : buffer);
    if (text.find_first_of(".eE") == std::string::npos) text += ".0";
    return text;
}

}  // namespace hcjson

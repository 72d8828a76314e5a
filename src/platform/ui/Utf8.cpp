#include "platform/ui/Utf8.h"

namespace platform::ui::utf8 {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

char32_t next(std::string_view text, size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    size_t extra;
    char32_t cp;
    char32_t minimum;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    if (pos + extra >= text.size()) {  // cut short by the end of the text
        ++pos;
        return kReplacement;
    }
    for (size_t i = 1; i <= extra; ++i) {
        const auto c = static_cast<unsigned char>(text[pos + i]);
        if (!isContinuation(c)) {
            ++pos;
            return kReplacement;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    // Overlong forms, surrogates and values past the last plane are not characters.
    if (cp < minimum || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
        ++pos;
        return kReplacement;
    }
    pos += extra + 1;
    return cp;
}

std::vector<char32_t> decode(std::string_view text)
{
    std::vector<char32_t> out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) out.push_back(next(text, pos));
    return out;
}

void append(std::string& out, char32_t cp)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string encode(const std::vector<char32_t>& cps)
{
    std::string out;
    out.reserve(cps.size());
    for (char32_t cp : cps) append(out, cp);
    return out;
}

size_t length(std::string_view text)
{
    size_t n = 0;
    for (size_t pos = 0; pos < text.size(); ++n) next(text, pos);
    return n;
}

size_t byteOffset(std::string_view text, size_t index)
{
    size_t pos = 0;
    for (size_t i = 0; i < index && pos < text.size(); ++i) next(text, pos);
    return pos;
}

std::string prefix(std::string_view text, size_t count)
{
    return std::string(text.substr(0, byteOffset(text, count)));
}

std::string substring(std::string_view text, size_t location, size_t count)
{
    const size_t start = byteOffset(text, location);
    const std::string_view rest = text.substr(start);
    return std::string(rest.substr(0, byteOffset(rest, count)));
}

std::string replace(std::string_view text, size_t location, size_t count, std::string_view replacement)
{
    const size_t start = byteOffset(text, location);
    const size_t end = start + byteOffset(text.substr(start), count);
    std::string out;
    out.reserve(text.size() + replacement.size());
    out.append(text.substr(0, start));
    out.append(replacement);
    out.append(text.substr(end));
    return out;
}

}  // namespace platform::ui::utf8

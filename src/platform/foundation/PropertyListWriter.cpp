#include "platform/foundation/PropertyListWriter.h"

#include <charconv>

#include "platform/foundation/Base64.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/Values.h"

namespace platform {
namespace {

constexpr int kMaxDepth = 512;

bool allowedInXml(uint32_t cp)
{
    return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) || (cp >= 0xE000 && cp <= 0xFFFD) ||
           (cp >= 0x10000 && cp <= 0x10FFFF);
}

// Length of the well-formed UTF-8 sequence at `i` and its code point; 0 when malformed.
size_t decodeUtf8(const std::string& s, size_t i, uint32_t& cp)
{
    auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char c = byte(i);
    size_t length;
    uint32_t minimum;
    if (c < 0x80) {
        cp = c;
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        length = 2, cp = c & 0x1F, minimum = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        length = 3, cp = c & 0x0F, minimum = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        length = 4, cp = c & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > s.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

void appendEscaped(std::string& out, const std::string& text)
{
    size_t i = 0;
    while (i < text.size()) {
        uint32_t cp = 0;
        size_t length = decodeUtf8(text, i, cp);
        if (length == 0 || !allowedInXml(cp)) {
            out += "\xEF\xBF\xBD";
            i += length == 0 ? 1 : length;
            continue;
        }
        switch (cp) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '\r': out += "&#13;"; break;  // a raw CR would read back as LF
        default: out.append(text, i, length); break;
        }
        i += length;
    }
}

void indent(std::string& out, int depth)
{
    out.append(static_cast<size_t>(depth), '\t');
}

bool writeValue(std::string& out, const ObjectPtr& value, int depth)
{
    if (!value || depth > kMaxDepth) return false;
    indent(out, depth);
    if (auto s = as<String>(value)) {
        out += "<string>";
        appendEscaped(out, s->value());
        out += "</string>\n";
    } else if (auto n = as<Number>(value)) {
        if (n->isBoolean()) {
            out += n->boolValue() ? "<true/>\n" : "<false/>\n";
        } else if (n->isFloatingPoint()) {
            char buf[64];
            auto result = std::to_chars(buf, buf + sizeof buf, n->doubleValue());
            out += "<real>" + std::string(buf, result.ptr) + "</real>\n";
        } else {
            out += "<integer>" + std::to_string(n->longLongValue()) + "</integer>\n";
        }
    } else if (auto d = as<Data>(value)) {
        out += "<data>" + base64Encode(d->bytes()) + "</data>\n";
    } else if (auto date = as<Date>(value)) {
        // Years outside 1 to 9999 have no text that reads back.
        const DateFormatter& formatter = DateFormatter::railsFormatter();
        std::string text = formatter.stringFromDate(*date);
        if (!formatter.dateFromString(text)) return false;
        out += "<date>" + text + "</date>\n";
    } else if (auto array = as<Array>(value)) {
        out += "<array>\n";
        for (auto& item : array->items())
            if (!writeValue(out, item, depth + 1)) return false;
        indent(out, depth);
        out += "</array>\n";
    } else if (auto dict = as<Dictionary>(value)) {
        out += "<dict>\n";
        for (auto& [key, item] : dict->entries()) {
            indent(out, depth + 1);
            out += "<key>";
            appendEscaped(out, key);
            out += "</key>\n";
            if (!writeValue(out, item, depth + 1)) return false;
        }
        indent(out, depth);
        out += "</dict>\n";
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::optional<std::string> PropertyListWriter::write(const ObjectPtr& root)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n";
    if (!writeValue(out, root, 0)) return std::nullopt;
    out += "</plist>\n";
    return out;
}

}  // namespace platform

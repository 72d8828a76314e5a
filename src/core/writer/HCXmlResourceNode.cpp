#include "core/writer/HCXmlResourceNode.h"

#include <cstdint>

HCXmlResourceNode::HCXmlResourceNode(std::string key, std::optional<std::string> value)
    : key_(std::move(key)), value_(std::move(value))
{
}

HCXmlResourceNode::HCXmlResourceNode(std::string key, Children children)
    : key_(std::move(key)), children_(std::move(children))
{
}

std::shared_ptr<HCXmlResourceNode> HCXmlResourceNode::nodeWithKey(std::string key, std::optional<std::string> value)
{
    return std::make_shared<HCXmlResourceNode>(std::move(key), std::move(value));
}

std::shared_ptr<HCXmlResourceNode> HCXmlResourceNode::nodeWithKey(std::string key, Children children)
{
    return std::make_shared<HCXmlResourceNode>(std::move(key), std::move(children));
}

std::string HCXmlResourceNode::toXmlString() const
{
    std::string out = kXmlDeclaration;
    appendXmlToString(out);
    return out;
}

void HCXmlResourceNode::appendXmlToString(std::string& out) const
{
    openScope(out);
    writeContent(out);
    closeScope(out);
}

void HCXmlResourceNode::openScope(std::string& out) const
{
    out += '<';
    out += key_;
    out += '>';
}

void HCXmlResourceNode::writeContent(std::string& out) const
{
    if (value_) {
        out += HCEscapeXmlText(*value_);
        return;
    }
    for (const auto& child : children_) {
        if (child) {
            child->appendXmlToString(out);
        }
    }
}

void HCXmlResourceNode::closeScope(std::string& out) const
{
    out += "</";
    out += key_;
    out += '>';
}

namespace {

// Length of the well-formed UTF-8 sequence at `i` and its code point; 0 when
// the bytes there are not one (stray, truncated or overlong).
size_t decodeUtf8(const std::string& text, size_t i, uint32_t& cp)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    size_t length = 0;
    uint32_t min = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    return cp < min ? 0 : length;
}

bool allowedInXml(uint32_t cp)
{
    if (cp < 0x20) {
        return cp == 0x09 || cp == 0x0A || cp == 0x0D;
    }
    return !(cp >= 0xD800 && cp <= 0xDFFF) && cp != 0xFFFE && cp != 0xFFFF && cp <= 0x10FFFF;
}

}  // namespace

std::string HCEscapeXmlText(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        uint32_t cp = 0;
        const size_t length = decodeUtf8(text, i, cp);
        if (length == 0 || !allowedInXml(cp)) {
            // The reader's tokenizer stops at such bytes and everything after
            // them would be lost; one replacement character keeps the rest.
            out += "\xEF\xBF\xBD";
            i += length == 0 ? 1 : length;
            continue;
        }
        switch (text[i]) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        // A raw carriage return would read back as a line feed.
        case '\r': out += "&#13;"; break;
        default: out.append(text, i, length); break;
        }
        i += length;
    }
    return out;
}

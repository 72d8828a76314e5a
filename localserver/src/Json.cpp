#include "localserver/Json.h"

#include <cstdio>

namespace localserver::json {

namespace {

// Length of the valid UTF-8 sequence at `i`, or 0 when the bytes there are not one.
std::size_t utf8SequenceLength(std::string_view text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    std::size_t length = 0;
    unsigned int codePoint = 0;
    if ((c & 0xE0) == 0xC0) {
        length = 2;
        codePoint = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        length = 3;
        codePoint = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        length = 4;
        codePoint = c & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (byte(i + k) & 0x3F);
    }
    static const unsigned int kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < kSmallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return 0;
    }
    return length;
}

}  // namespace

std::string quote(std::string_view text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t length = utf8SequenceLength(text, i);
            if (length == 0) {
                out += "\xEF\xBF\xBD";
                ++i;
            } else {
                out.append(text.substr(i, length));
                i += length;
            }
            continue;
        }
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
        ++i;
    }
    out += '"';
    return out;
}

Object& Object::raw(std::string key, std::string json)
{
    members_.emplace_back(std::move(key), std::move(json));
    return *this;
}

std::string Object::str() const
{
    std::string out = "{";
    for (std::size_t i = 0; i < members_.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        out += quote(members_[i].first) + ":" + members_[i].second;
    }
    return out + "}";
}

std::string array(const std::vector<std::string>& rawItems)
{
    std::string out = "[";
    for (std::size_t i = 0; i < rawItems.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        out += rawItems[i];
    }
    return out + "]";
}

Reply reply(int status, std::string body)
{
    Reply r;
    r.status = status;
    r.contentType = "application/json; charset=utf-8";
    r.body = std::move(body);
    return r;
}

Reply exception(int status, std::string_view className, std::string_view message)
{
    Object inner;
    inner.text("class", className).text("message", message);
    Object outer;
    outer.raw("exception", inner.str());
    return reply(status, outer.str());
}

}  // namespace localserver::json

#include "localserver/Json.h"

#include <cstdio>

#include "TextBytes.h"

namespace localserver::json {

namespace {

// Length of the UTF-8 sequence at `i` that JSON may carry, or 0.
std::size_t jsonSequenceLength(std::string_view text, std::size_t i)
{
    std::uint32_t cp = 0;
    const std::size_t length = decodeUtf8(text, i, cp);
    return (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF ? 0 : length;
}

}  // namespace

std::string quote(std::string_view text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t length = jsonSequenceLength(text, i);
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

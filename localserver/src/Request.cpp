#include "localserver/Request.h"

#include <strings.h>

namespace localserver {

std::optional<std::string> firstValue(const Params& params, std::string_view name)
{
    for (const auto& [key, value] : params) {
        if (key == name) {
            return value;
        }
    }
    return std::nullopt;
}

std::vector<std::string> allValues(const Params& params, std::string_view name)
{
    std::vector<std::string> values;
    for (const auto& [key, value] : params) {
        if (key == name) {
            values.push_back(value);
        }
    }
    return values;
}

std::optional<std::string> Request::header(std::string_view name) const
{
    for (const auto& [key, value] : headers) {
        if (key.size() == name.size() && strncasecmp(key.data(), name.data(), name.size()) == 0) {
            return value;
        }
    }
    return std::nullopt;
}

const FilePart* Request::file(std::string_view name) const
{
    for (const auto& part : files) {
        if (part.name == name) {
            return &part;
        }
    }
    return nullptr;
}

Reply Reply::xml(std::string body)
{
    Reply reply;
    reply.body = std::move(body);
    return reply;
}

Reply Reply::text(int status, std::string body)
{
    Reply reply;
    reply.status = status;
    reply.contentType = "text/plain; charset=utf-8";
    reply.body = std::move(body);
    return reply;
}

}  // namespace localserver

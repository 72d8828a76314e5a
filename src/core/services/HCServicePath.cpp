#include "core/services/HCServicePath.h"

#include "platform/net/PercentEncoding.h"

namespace HCServicePath {

namespace {

bool namesSomething(const std::optional<std::string>& id)
{
    return id && !id->empty() && *id != "." && *id != "..";
}

}  // namespace

std::optional<std::string> format(std::string_view pattern, std::initializer_list<std::optional<std::string>> ids)
{
    std::string path;
    auto next = ids.begin();
    size_t at = 0;
    while (true) {
        const size_t mark = pattern.find("%@", at);
        path.append(pattern.substr(at, mark == std::string_view::npos ? std::string_view::npos : mark - at));
        if (mark == std::string_view::npos) break;
        if (next == ids.end() || !namesSomething(*next)) return std::nullopt;
        path += platform::percentEncode(**next);
        ++next;
        at = mark + 2;
    }
    if (next != ids.end()) return std::nullopt;
    return path;
}

HCRequestHandlePtr refuse(const HCDelegate& onFailure)
{
    onFailure.invoke(nullptr);
    return nullptr;
}

}  // namespace HCServicePath

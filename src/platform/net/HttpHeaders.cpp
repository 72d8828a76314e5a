#include "platform/net/HttpHeaders.h"

#include <algorithm>

namespace platform {

bool equalsIgnoringCase(const std::string& a, const std::string& b)
{
    auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

void HttpHeaders::add(std::string name, std::string value)
{
    fields_.emplace_back(std::move(name), std::move(value));
}

void HttpHeaders::set(const std::string& name, std::string value)
{
    auto first = std::find_if(fields_.begin(), fields_.end(), [&](const Field& f) { return equalsIgnoringCase(f.first, name); });
    if (first == fields_.end()) {
        add(name, std::move(value));
        return;
    }
    first->second = std::move(value);
    auto keep = first - fields_.begin();
    fields_.erase(std::remove_if(fields_.begin() + keep + 1, fields_.end(),
                                 [&](const Field& f) { return equalsIgnoringCase(f.first, name); }),
                  fields_.end());
}

void HttpHeaders::remove(const std::string& name)
{
    std::erase_if(fields_, [&](const Field& f) { return equalsIgnoringCase(f.first, name); });
}

std::optional<std::string> HttpHeaders::value(const std::string& name) const
{
    std::optional<std::string> joined;
    for (const auto& f : fields_) {
        if (!equalsIgnoringCase(f.first, name)) continue;
        if (joined)
            *joined += ", " + f.second;
        else
            joined = f.second;
    }
    return joined;
}

std::vector<std::string> HttpHeaders::values(const std::string& name) const
{
    std::vector<std::string> out;
    for (const auto& f : fields_)
        if (equalsIgnoringCase(f.first, name)) out.push_back(f.second);
    return out;
}

bool HttpHeaders::contains(const std::string& name) const
{
    return std::any_of(fields_.begin(), fields_.end(), [&](const Field& f) { return equalsIgnoringCase(f.first, name); });
}

}  // namespace platform

#include "localserver/RouteTable.h"

namespace localserver {

namespace {

std::vector<std::string_view> splitSegments(std::string_view path)
{
    std::vector<std::string_view> segments;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = path.find('/', start);
        if (slash == std::string_view::npos) {
            segments.push_back(path.substr(start));
            return segments;
        }
        segments.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
}

}  // namespace

void RouteTable::add(const std::string& method, const std::string& pattern, Access access, Handler handler)
{
    std::lock_guard lock(mutex_);
    for (auto& route : routes_) {
        if (route.method == method && route.pattern == pattern) {
            route.access = access;
            route.handler = std::move(handler);
            return;
        }
    }
    routes_.push_back(Route{method, pattern, access, std::move(handler)});
}

std::vector<RouteTable::Entry> RouteTable::entries() const
{
    std::lock_guard lock(mutex_);
    std::vector<Entry> out;
    out.reserve(routes_.size());
    for (const auto& route : routes_) {
        out.push_back(Entry{route.method, route.pattern, route.access});
    }
    return out;
}

RouteTable::Lookup RouteTable::find(const std::string& method, const std::string& path, RouteMatch& match) const
{
    std::lock_guard lock(mutex_);
    bool pathKnown = false;
    for (const auto& route : routes_) {
        auto values = matchPattern(route.pattern, path);
        if (!values) {
            continue;
        }
        if (route.method != method) {
            pathKnown = true;
            continue;
        }
        match.access = route.access;
        match.handler = route.handler;
        match.pathParams = std::move(*values);
        return Lookup::Found;
    }
    return pathKnown ? Lookup::WrongMethod : Lookup::NoSuchPath;
}

std::optional<Params> RouteTable::matchPattern(const std::string& pattern, const std::string& path)
{
    const auto patternSegments = splitSegments(pattern);
    const auto pathSegments = splitSegments(path);
    if (patternSegments.size() != pathSegments.size()) {
        return std::nullopt;
    }
    Params values;
    for (std::size_t i = 0; i < patternSegments.size(); ++i) {
        const std::string_view want = patternSegments[i];
        const std::string_view have = pathSegments[i];
        const std::size_t open = want.find('{');
        const std::size_t close = open == std::string_view::npos ? open : want.find('}', open);
        if (close == std::string_view::npos) {
            if (want != have) {
                return std::nullopt;
            }
            continue;
        }
        const std::string_view prefix = want.substr(0, open);
        const std::string_view suffix = want.substr(close + 1);
        if (have.size() <= prefix.size() + suffix.size() || have.substr(0, prefix.size()) != prefix ||
            have.substr(have.size() - suffix.size()) != suffix) {
            return std::nullopt;
        }
        values.emplace_back(std::string(want.substr(open + 1, close - open - 1)),
                            std::string(have.substr(prefix.size(), have.size() - prefix.size() - suffix.size())));
    }
    return values;
}

}  // namespace localserver

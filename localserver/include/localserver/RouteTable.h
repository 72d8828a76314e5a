#pragma once
// Routes by method and path below the service root. A pattern is matched
// segment by segment ("/" separated); a segment may hold one placeholder
// with literal text around it ("leaderboards/{id}/high_scores.xml",
// "users/{id}.xml"), which matches one or more characters other than "/".
// Routes are added from any thread and looked up from connection threads;
// every method locks.
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "localserver/Request.h"

namespace localserver {

enum class Access {
    Open,      // no signature (uploads to a storage host, plain pages)
    Consumer,  // a valid consumer signature; a token is optional but must be valid
    User,      // a valid consumer signature and a valid user token
    Product,   // the JSON API's product signature ("X-HC-Key", "X-HC-Signature")
};

struct RouteMatch {
    Access access = Access::Consumer;
    Handler handler;
    Params pathParams;
};

class RouteTable {
public:
    // A later route with the same method and pattern replaces the earlier one.
    void add(const std::string& method, const std::string& pattern, Access access, Handler handler);

    struct Entry {
        std::string method;
        std::string pattern;
        Access access;
    };
    // Every route, in the order first added.
    std::vector<Entry> entries() const;

    enum class Lookup { Found, NoSuchPath, WrongMethod };
    Lookup find(const std::string& method, const std::string& path, RouteMatch& match) const;

    // Placeholder values when `path` fits `pattern`.
    static std::optional<Params> matchPattern(const std::string& pattern, const std::string& path);

private:
    struct Route {
        std::string method;
        std::string pattern;
        Access access;
        Handler handler;
    };
    mutable std::mutex mutex_;
    std::vector<Route> routes_;
};

}  // namespace localserver

#pragma once
// The dashboard's web pages as the service offers them for mirroring:
//
//   GET "webui/manifest"   one line per page, "<SHA-1 of its bytes in lower-case
//                          hex> <path>\n", in path order.
//   GET "webui/<path>"     the page's bytes; 404 once the page was removed.
//
// Paths are "/"-separated segments of letters, digits, "-", "_" and "."
// (no segment "." or ".."). Both routes are open: the pages are public.
// Every method locks: tests change pages while connection threads serve.
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace localserver {
class Server;

bool isValidWebUIPath(const std::string& path);

class WebUIPages {
public:
    // False (and nothing stored) for an invalid path.
    bool put(const std::string& path, std::string bytes);
    void remove(const std::string& path);
    std::optional<std::string> get(const std::string& path) const;
    std::string manifest() const;
    // A page listed in the manifest whose bytes are served changed (a
    // server caught mid-deploy): the listing keeps the old digest.
    void serveDifferentBytes(const std::string& path, std::string bytes);

private:
    mutable std::mutex mutex_;
    std::map<std::string, std::string> pages_;
    std::map<std::string, std::string> served_;
};

// Adds the routes over an empty set of pages and answers it. A page put
// later is served too.
std::shared_ptr<WebUIPages> registerWebUIRoutes(Server& server);

}  // namespace localserver

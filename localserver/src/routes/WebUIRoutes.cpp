#include "localserver/routes/WebUIRoutes.h"

#include <openssl/sha.h>

#include "localserver/Server.h"

namespace localserver {

namespace {

std::string sha1Hex(const std::string& bytes)
{
    unsigned char digest[SHA_DIGEST_LENGTH];
    SHA1(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest);
    static const char* const hex = "0123456789abcdef";
    std::string out;
    for (unsigned char byte : digest) {
        out += hex[byte >> 4];
        out += hex[byte & 0xf];
    }
    return out;
}

bool isPathCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '.';
}

}  // namespace

bool isValidWebUIPath(const std::string& path)
{
    size_t start = 0;
    while (true) {
        const size_t slash = path.find('/', start);
        const std::string segment = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (segment.empty() || segment == "." || segment == "..") {
            return false;
        }
        for (char c : segment) {
            if (!isPathCharacter(c)) {
                return false;
            }
        }
        if (slash == std::string::npos) {
            return true;
        }
        start = slash + 1;
    }
}

bool WebUIPages::put(const std::string& path, std::string bytes)
{
    if (!isValidWebUIPath(path) || path == "manifest") {
        return false;
    }
    std::lock_guard lock(mutex_);
    served_.erase(path);
    pages_[path] = std::move(bytes);
    return true;
}

void WebUIPages::remove(const std::string& path)
{
    std::lock_guard lock(mutex_);
    pages_.erase(path);
    served_.erase(path);
}

std::optional<std::string> WebUIPages::get(const std::string& path) const
{
    std::lock_guard lock(mutex_);
    if (auto served = served_.find(path); served != served_.end()) {
        return served->second;
    }
    auto page = pages_.find(path);
    return page == pages_.end() ? std::nullopt : std::optional<std::string>(page->second);
}

std::string WebUIPages::manifest() const
{
    std::lock_guard lock(mutex_);
    std::string out;
    for (const auto& [path, bytes] : pages_) {
        out += sha1Hex(bytes) + " " + path + "\n";
    }
    return out;
}

void WebUIPages::serveDifferentBytes(const std::string& path, std::string bytes)
{
    std::lock_guard lock(mutex_);
    served_[path] = std::move(bytes);
}

std::shared_ptr<WebUIPages> registerWebUIRoutes(Server& server)
{
    auto pages = std::make_shared<WebUIPages>();
    server.addRoute("GET", "webui/manifest", Access::Open, [pages](const Request&) {
        return Reply::text(200, pages->manifest());
    });
    // Up to four folders deep; a page outside the set answers 404.
    std::string pattern = "webui";
    for (int depth = 1; depth <= 5; ++depth) {
        pattern += "/{s" + std::to_string(depth) + "}";
        server.addRoute("GET", pattern, Access::Open, [pages, depth](const Request& request) {
            std::string path;
            for (int i = 1; i <= depth; ++i) {
                path += (i > 1 ? "/" : "") + request.pathParam("s" + std::to_string(i)).value_or("");
            }
            auto bytes = pages->get(path);
            if (!bytes) {
                return Reply::text(404, "no such page");
            }
            Reply reply = Reply::text(200, std::move(*bytes));
            reply.contentType = "text/html; charset=utf-8";
            return reply;
        });
    }
    return pages;
}

}  // namespace localserver

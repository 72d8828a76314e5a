#pragma once
// The request and reply values that route handlers see and the request log
// keeps. Plain values: safe to copy between threads.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace localserver {

// Name/value pairs in the order they arrived; duplicates are kept because
// series such as "high_scores[][score]" repeat a name once per element.
using Params = std::vector<std::pair<std::string, std::string>>;

// First value under `name`, or nothing.
std::optional<std::string> firstValue(const Params& params, std::string_view name);
// Every value under `name`, in arrival order.
std::vector<std::string> allValues(const Params& params, std::string_view name);

// One part of a multipart/form-data body that carried a file name.
struct FilePart {
    std::string name;
    std::string filename;
    std::string contentType;
    std::string bytes;
};

struct Request {
    std::string method;
    std::string target;  // the request target as sent: path and query, still encoded
    std::string path;    // below the service root, percent-decoded ("server_timestamp")
    // Query, then form-urlencoded body or multipart text parts, in order,
    // without the OAuth protocol parameters.
    Params params;
    std::vector<FilePart> files;
    Params oauth;    // OAuth protocol parameters from wherever they were sent
    // The "parental_controls_enabled" value every client request carries,
    // kept apart from the route's own parameters; nothing when not sent.
    std::optional<std::string> parentalControlsEnabled;
    Params headers;  // as received
    std::string body;  // the raw body, multipart bodies included
    // Filled once a route matched and the caller was verified:
    Params pathParams;   // values of the route pattern's {placeholders}
    std::string gameId;  // the verified consumer's game; empty on open routes
    std::string userId;  // the verified token's user; empty without a token

    std::optional<std::string> param(std::string_view name) const { return firstValue(params, name); }
    std::vector<std::string> paramValues(std::string_view name) const { return allValues(params, name); }
    std::optional<std::string> pathParam(std::string_view name) const { return firstValue(pathParams, name); }
    // The first file part sent under `name`; nullptr when there is none.
    const FilePart* file(std::string_view name) const;
    // Header names compare without regard to case.
    std::optional<std::string> header(std::string_view name) const;
};

struct Reply {
    int status = 200;
    std::string contentType = "application/xml; charset=utf-8";
    std::string body;
    Params headers;  // further header fields ("Set-Cookie"), in order

    static Reply xml(std::string body);
    static Reply text(int status, std::string body);
};

// Runs on one of the server's connection threads; several may run at once.
using Handler = std::function<Reply(const Request&)>;

}  // namespace localserver

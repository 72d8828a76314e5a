#pragma once
// The local server: HTTP on the loopback interface, routing below a service
// root, OAuth verification, fault injection and a request log.
//
// start() and stop() belong to the thread that owns the server (a test's
// main thread, the program's main function). Requests are served on the
// server's own connection threads; everything a test reaches through the
// accessors locks, so tests may arm faults, add users or read the log while
// requests run.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "localserver/Accounts.h"
#include "localserver/Faults.h"
#include "localserver/Fixtures.h"
#include "localserver/LoginState.h"
#include "localserver/Request.h"
#include "localserver/RequestLog.h"
#include "localserver/RouteTable.h"
#include "localserver/XmlWriter.h"

namespace localserver {

struct ServerOptions {
    int port = 0;             // 0: an ephemeral port
    std::string root = "/";   // the service root's path; starts and ends with "/"
    // A larger request body is answered 413 and never reaches a route.
    std::size_t maxBodyBytes = 64u * 1024u * 1024u;
    // The request log keeps the latest this many requests; 0 keeps every one.
    std::size_t requestLogCapacity = 0;
    Fixtures fixtures = defaultFixtures();
};

class Server {
public:
    Server();
    explicit Server(ServerOptions options);
    ~Server();  // stops
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Binds 127.0.0.1 and serves on a thread of its own. False, with error()
    // set, when the fixtures were bad, the root malformed or the port taken.
    bool start();
    // Ends delays in progress, stops serving and joins the server's threads.
    void stop();
    const std::string& error() const;

    int port() const;                  // valid after start()
    std::string baseUrl() const;       // "http://127.0.0.1:PORT/"
    std::string serviceRootUrl() const;  // baseUrl() with the root below it

    // `pattern` is relative to the service root: "server_timestamp".
    void addRoute(const std::string& method, const std::string& pattern, Access access, Handler handler);
    // The routes served now, in the order first added.
    std::vector<RouteTable::Entry> routes() const;

    Accounts& accounts();
    LoginState& login();
    RequestLog& log();
    Faults& faults();
    const Fixtures& fixtures() const;

    // Puts the element first inside "resources" of the next successful XML
    // reply on that path; one element per reply, in the order injected.
    void injectServerNotification(const std::string& path, const XmlNode& notification);

    // The time the server reports, in whole seconds since 1970; the system
    // clock unless a test sets its own.
    void setClock(std::function<std::int64_t()> secondsSinceEpoch);
    std::int64_t now() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Registers every route the server offers.
void registerServiceRoutes(Server& server);

}  // namespace localserver

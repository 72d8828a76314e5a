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
#include <optional>
#include <string>
#include <vector>

#include "localserver/Accounts.h"
#include "localserver/Broker.h"
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
    // With a broker, each bootstrap makes the new token a broker user and
    // turns the player's presence channel on; without one it stays off.
    std::optional<BrokerOptions> broker;
};

class Server {
public:
    Server();
    explicit Server(ServerOptions options);
    ~Server();  // stops, and removes the broker users it added
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

    // The broker of the presence channel; nullptr without one.
    const Broker* broker() const;
    // Makes the token pair a broker user and answers the player's queue
    // once that user has logged in; nullopt without a broker or when the
    // broker would not let it in (see Broker::addUser).
    std::optional<std::string> addPresenceUser(const Token& token);
    // The broker connections of the tokens this server registered, counted
    // or closed; -1 without a broker.
    int presenceConnections();
    int closePresenceConnections();
    // Removes every broker user this server registered: the clients can no
    // longer log in to the broker.
    void removePresenceUsers();
    // Publishes the resource, as a flat reply document, to the player's
    // presence queue. False without a broker or when it refused.
    bool publishPresence(const std::string& userId, const XmlNode& resource);

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

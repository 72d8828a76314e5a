#pragma once
// The local server's side of the presence channel: it makes each player's
// access token and secret a user of the message broker (through the
// broker's management interface) and publishes messages to a player's
// queue with a STOMP SEND of its own over plain TCP. The broker is a real
// one (scripts/broker); nothing here is shared with the client's STOMP code.
//
// Thread: any thread; each call opens its own connections and blocks until
// the broker answered or a few seconds passed.
#include <string>
#include <vector>

namespace localserver {

struct BrokerOptions {
    int stompPort = 0;       // plain STOMP on 127.0.0.1
    int managementPort = 0;  // the management HTTP interface on 127.0.0.1
    std::string adminUser = "guest";
    std::string adminPassword = "guest";
    // Players' queues are this followed by the user id. Servers sharing one
    // broker (tests in parallel) each take a prefix of their own.
    std::string queuePrefix = "/queue/presence.";
    // How long a new user may take to become one the broker lets in: its
    // management interface may refuse or be slow just after the node started.
    double newUserSeconds = 10;
};

class Broker {
public:
    explicit Broker(BrokerOptions options) : options_(std::move(options)) {}

    // A broker user with every right on the default virtual host, true only
    // once it has logged in over STOMP (so a client told of it next gets in);
    // tried again until `newUserSeconds` passed.
    bool addUser(const std::string& name, const std::string& password) const;
    bool removeUser(const std::string& name) const;
    // SEND to `destination`, confirmed by the broker's RECEIPT.
    bool publish(const std::string& destination, const std::string& body) const;
    // Counts the connections logged in as one of `users` and, with `close`,
    // closes them (what a broker restart does to its clients); -1 when the
    // broker could not be asked.
    int connectionsOf(const std::vector<std::string>& users, bool close) const;

    // The queue of a player's presence messages.
    std::string presenceQueue(const std::string& userId) const { return options_.queuePrefix + userId; }

private:
    bool putUser(const std::string& name, const std::string& password) const;
    bool canLogIn(const std::string& name, const std::string& password) const;

    BrokerOptions options_;
};

}  // namespace localserver

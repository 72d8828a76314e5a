#pragma once
#include <cstdint>
#include <string>

namespace localserver {
class Server;

// "yyyy-MM-dd'T'HH:mm:ss'Z'" in UTC.
std::string formatRailsTime(std::int64_t secondsSinceEpoch);

// GET "server_timestamp": the server's current time (Server::now()) as one
// "server_timestamp" resource. Call before start() or while running; the
// handler runs on connection threads.
void registerTimeRoutes(Server& server);

}  // namespace localserver

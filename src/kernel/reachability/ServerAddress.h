#pragma once
// The host and port that reachability probes, taken from the service root URL.
//
// Thread: any (pure function).
#include <cstdint>
#include <optional>
#include <string>

struct ServerAddress {
    std::string host;  // name or address; an IPv6 literal without its brackets
    uint16_t port = 0;
};

// "scheme://[user@]host[:port][/path...]". Without a port, http means 80 and
// https 443. nullopt for anything else: no scheme, no host, a port that is
// not a number from 1 to 65535, or an unknown scheme without a port.
std::optional<ServerAddress> parseServerAddress(const std::string& url);

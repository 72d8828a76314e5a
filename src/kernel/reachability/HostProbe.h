#pragma once
// One reachability check: resolve the host and open a TCP connection to it.
//
// Thread: blocks for up to the name look-up plus `timeoutSeconds` per
// address tried, so it runs on the reachability thread, never the main one.
#include <cstdint>
#include <string>

// True when some address of the host accepts a TCP connection on the port
// within the time-out; the connection is closed at once.
bool probeHost(const std::string& host, uint16_t port, double timeoutSeconds);

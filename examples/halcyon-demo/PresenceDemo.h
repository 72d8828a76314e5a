#pragma once
// The demo's presence channel: the broker that scripts/demo started (its
// ports in HC_BROKER_*), a friend coming online, and the broker closing the
// connection under the client. Only the demo's own server can be made to
// publish and to close a connection: with another server the channel is
// left out, and the client is given no presence host to try.
//
// Thread: main thread, but isOwnDisconnect, which any thread may call.
#include <optional>
#include <string>

#include "DemoPages.h"
#include "DemoSummary.h"
#include "localserver/Server.h"

namespace presencedemo {

// The broker of the environment for the embedded server, and the client's
// settings to reach it over TLS; nothing without one.
std::optional<localserver::BrokerOptions> brokerFromEnvironment();

// Waits for the channel, has the server publish that a friend is online,
// then closes the connection on the broker and waits for the client to come
// back. Failed when any step did not happen within the demo's frames; left
// out, with the reason, when the server has no message broker or is another
// one (nullptr): whether that one has a broker, its log-in tells.
DemoPart showPresence(localserver::Server* server, const DemoFrames& demo);

// Whether a log line of the client tells of the connection's end that
// showPresence has the broker cause.
bool isOwnDisconnect(const std::string& logLine);

}  // namespace presencedemo

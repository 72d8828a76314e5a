#include "PresenceDemo.h"

#include <atomic>
#include <cstdlib>

#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/users/HCUser.h"
#include "kernel/settings/HCSettings.h"
#include "platform/foundation/NotificationCenter.h"
#include "transport/presence/HCPresenceService.h"

namespace presencedemo {

namespace {

int portFromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::atoi(value) : 0;
}

// Set while the demo has the broker close the channel: the client's log
// line about that end is the demo's own doing. Read on the presence thread.
std::atomic<bool> closingOnPurpose{false};

}  // namespace

bool isOwnDisconnect(const std::string& logLine)
{
    return closingOnPurpose && logLine.starts_with("presence: connection ended: ");
}

std::optional<localserver::BrokerOptions> brokerFromEnvironment()
{
    localserver::BrokerOptions broker;
    broker.stompPort = portFromEnvironment("HC_BROKER_STOMP_PORT");
    broker.managementPort = portFromEnvironment("HC_BROKER_HTTP_PORT");
    const int tlsPort = portFromEnvironment("HC_BROKER_STOMP_TLS_PORT");
    if (broker.stompPort == 0 || broker.managementPort == 0 || tlsPort == 0) return std::nullopt;
    HCSettings::setDefaultOverride("presence-host", "localhost:" + std::to_string(tlsPort));
    if (const char* ca = std::getenv("HC_BROKER_CA_FILE")) HCSettings::setDefaultOverride("presence-ca-file", ca);
    return broker;
}

DemoPart showPresence(localserver::Server* server, const DemoFrames& demo)
{
    const auto& say = demo.say;
    auto off = [&](const std::string& why) {
        say("presence: off (" + why + ")");
        return DemoPart{"the presence channel (off: " + why + ")", DemoOutcome::LeftOut};
    };
    // Another server's log-in says whether it has a broker (the channel
    // turned on); the demo can neither have it publish nor close a
    // connection, and gave the client no presence host.
    if (!server && Halcyon::loggedInUserSharesOnlineStatus()) {
        return off("the server has a message broker, but the demo shows the channel only with a server of its own");
    }
    if (!server || !server->broker()) return off("the server has no message broker");
    auto outcome = [](DemoOutcome result) { return DemoPart{"the presence channel", result}; };
    auto presence = HCPresenceService::sharedInstance();
    auto inState = [&](HCPresenceService::State state) {
        return [&presence, state] { return presence && presence->state() == state; };
    };
    if (!waitUntil(demo, inState(HCPresenceService::State::Connected))) {
        say("presence: the channel did not connect");
        return outcome(DemoOutcome::Failed);
    }
    say("presence: connected to the broker over TLS (STOMP 1.2)");

    const int token = 0;
    std::optional<std::string> friendOnline;
    platform::NotificationCenter::defaultCenter().addObserver(
        &token, HCNSNotificationFriendPresenceChanged, [&](const platform::Notification& n) {
            auto user = platform::as<HCUser>(n.userInfo->objectForKey(HCNSNotificationInfoPresenceUser));
            if (user && user->online()) friendOnline = user->name().value_or("?");
        });
    auto friendNode = localserver::XmlNode::parent("user");
    friendNode.add("id", localserver::defaults::kOtherUserId);
    friendNode.add("name", localserver::defaults::kOtherUserName);
    friendNode.add("online", "true");
    const bool published = server->publishPresence(localserver::defaults::kUserId, friendNode);
    const bool heard = published && waitUntil(demo, [&] { return friendOnline.has_value(); });
    platform::NotificationCenter::defaultCenter().removeObserver(&token);
    if (!heard) {
        say("presence: the friend's presence did not arrive");
        return outcome(DemoOutcome::Failed);
    }
    say("presence: " + *friendOnline + " is online (" + HCNSNotificationFriendPresenceChanged + ")");

    closingOnPurpose = true;
    const bool closed =
        server->closePresenceConnections() >= 1 && waitUntil(demo, inState(HCPresenceService::State::Waiting));
    closingOnPurpose = false;
    if (!closed) {
        say("presence: the broker could not close the connection");
        return outcome(DemoOutcome::Failed);
    }
    say("presence: the broker closed the connection; the client tries again in " +
        std::to_string(static_cast<int>(HCPresenceService::kFirstRetrySeconds)) + " s");
    if (!waitUntil(demo, inState(HCPresenceService::State::Connected))) {
        say("presence: the client did not reconnect");
        return outcome(DemoOutcome::Failed);
    }
    say("presence: reconnected after " + std::to_string(presence->failedAttempts()) + " failed attempt");
    return outcome(DemoOutcome::Shown);
}

}  // namespace presencedemo

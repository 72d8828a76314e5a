#pragma once
// What the server remembers of log-ins: the devices registered through
// "/xp/devices" (their facts, parental controls and players), the JSON
// sessions named by the "_hc_session" cookie, the usage statistics the
// bootstraps reported, and what the bootstrap reply carries besides the
// player (counters, an optional offline block).
//
// Connection threads and the test thread call at once; every method locks.
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "localserver/Request.h"
#include "localserver/XmlWriter.h"

namespace localserver {

struct DeviceRecord {
    std::string identifier;
    Params facts;  // the registration's fields as sent, device[...] names included
    std::optional<bool> parentalControls;  // none: the reply carries no "parental_control"
    std::vector<std::string> userIds;      // players bootstrapped on the device, first first
    std::string lastUserId;
};

struct JsonSession {
    std::string deviceId;
    std::string userId;  // empty until a user session is opened
    bool expired = false;
};

// The dashboard counters a bootstrap reply reports, whether the player
// shares a location ("logged_in_user_has_share_location_enabled"), and
// whether it turns the presence channel off even with a broker.
struct BootstrapCounters {
    std::uint32_t unviewedChallenges = 2;
    std::uint32_t pendingFriends = 1;
    std::uint32_t imsUnread = 3;
    std::uint32_t subscribedThreadsUnread = 4;
    std::uint32_t invitesUnread = 5;
    std::uint32_t unfulfilledInvites = 6;
    bool shareLocation = false;
    bool presenceOff = false;
};

// The usage statistics one bootstrap reported, read under the names the
// service knows ("[user_stats]total_game_sessions" and its siblings).
struct ReportedUserStats {
    std::string userId;   // the player the bootstrap logged in
    std::string version;  // "[user_stats]version"
    // Each counter sent as a whole number, by its name after the prefix
    // ("total_game_sessions"); one sent otherwise is left out.
    std::map<std::string, long long> counters;
};

class LoginState {
public:
    static constexpr const char* kSessionCookie = "_hc_session";

    // Registers the device or refreshes its facts; returns the record.
    DeviceRecord registerDevice(const std::string& identifier, const Params& facts);
    std::optional<DeviceRecord> device(const std::string& identifier) const;
    void setParentalControls(const std::string& identifier, std::optional<bool> enabled);
    // Records that the user logged in on the device (created when unknown).
    void addDeviceUser(const std::string& identifier, const std::string& userId);

    // A new session of the device; answers its cookie value.
    std::string openSession(const std::string& deviceId);
    std::optional<JsonSession> session(const std::string& cookie) const;
    bool bindUser(const std::string& cookie, const std::string& userId);
    bool unbindUser(const std::string& cookie);
    // Every session open now answers 401 from now on.
    void expireSessions();
    std::size_t sessionCount() const;

    // Bootstraps that carried statistics, in arrival order.
    void recordUserStats(ReportedUserStats stats);
    std::vector<ReportedUserStats> reportedUserStats() const;

    void setCounters(const BootstrapCounters& counters);
    BootstrapCounters counters() const;
    // A second object for the bootstrap reply (the offline block): a fixed
    // one when set, else what the source makes for the player; none by default.
    using OfflineBlockSource = std::function<std::optional<XmlNode>(const std::string& userId)>;
    void setOfflineBlock(std::optional<XmlNode> block);
    void setOfflineBlockSource(OfflineBlockSource source);
    std::optional<XmlNode> offlineBlock(const std::string& userId) const;

private:
    mutable std::mutex mutex_;
    std::map<std::string, DeviceRecord> devices_;
    std::map<std::string, JsonSession> sessions_;
    BootstrapCounters counters_;
    std::vector<ReportedUserStats> reportedUserStats_;
    std::optional<XmlNode> offlineBlock_;
    OfflineBlockSource offlineBlockSource_;
};

// The value of the named cookie in a request's "Cookie" header.
std::optional<std::string> cookieValue(const Request& request, const std::string& name);

}  // namespace localserver

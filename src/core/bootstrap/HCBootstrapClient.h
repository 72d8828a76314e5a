#pragma once
// What the bootstrap exchange asks of, and applies to, the rest of the
// client: the host's user check, the notifications, the usage statistics,
// the user options, the client settings, the presence channel and the
// add-ons. HCHalcyonBootstrapClient answers for the Halcyon class and is
// used unless another is installed (HCBootstrapService::setClient: the log-in
// chain's, tests'); each method's default here does nothing, so a client
// overrides what exists.
//
// The apply methods are called in the order they are declared, on the
// provider's request thread; an implementation that tells observers who
// touch the UI posts those notices to the main thread itself.
//
// Thread: as written at each group.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/Object.h"

class HCBootstrap;
class HCGameProfilePageInfo;
class HCHttpNestedQueryStringWriter;
class HCUser;

class HCBootstrapClient {
public:
    using Text = std::optional<std::string>;
    virtual ~HCBootstrapClient() = default;

    // --- Main thread ------------------------------------------------------------
    // The usage statistics sent with the request.
    virtual void getUserStatsParams(HCHttpNestedQueryStringWriter& writer) { (void)writer; }
    virtual void postBootstrapBegan(const Text& userId) { (void)userId; }
    // Each is followed by the completed notice.
    virtual void postBootstrapSucceeded() {}
    virtual void postBootstrapFailed() {}
    // Reads and clears the start-up's request to let the host check the user.
    virtual bool takeForceUserCheckOnBootstrap() { return false; }
    // The host's answer whether this user may log in; nothing when the host
    // does not ask.
    virtual std::optional<bool> userAttemptingToLogin(const std::shared_ptr<HCUser>& user)
    {
        (void)user;
        return std::nullopt;
    }
    // The host refused the user: the log-in in progress ends.
    virtual void abortBootstrap() {}

    // --- Request thread, in this order --------------------------------------------
    virtual void storePollingFrequencies(uint32_t defaultSeconds, uint32_t chatSeconds)
    {
        (void)defaultSeconds;
        (void)chatSeconds;
    }
    // The user options: credential flags (non-device = basic or Facebook or
    // Twitter), new-user flag, application id and icon, the two counts, the
    // game profile, the local user, the dashboard entry points, the online
    // status flag, the three unread counts and the distance unit (2 when the
    // user shares the location, else 1), in the order the reply is applied.
    virtual void applyUserOptions(const HCBootstrap& bootstrap, int distanceUnit) { (void)bootstrap, (void)distanceUnit; }
    virtual void applyPresence(const Text& queue, bool pipeHttp, bool connect)
    {
        (void)queue;
        (void)pipeHttp;
        (void)connect;
    }
    virtual void notifyAddOnsUserLoggedIn() {}
    // Resets the statistics sent with the request and counts this online session.
    virtual void resetUserStatsAndCountOnlineSession() {}
};

// The offline store's part of the exchange: its last synchronisation dates
// go with the request, and the reply's second object is its data.
//
// Thread: getBootstrapCallParams on the main thread; syncOfflineData on the
// provider's request thread; shareKnownResources when the bootstrap service
// starts (main thread).
class HCBootstrapOfflineSync {
public:
    virtual ~HCBootstrapOfflineSync() = default;
    virtual void getBootstrapCallParams(HCHttpNestedQueryStringWriter& writer, const std::optional<std::string>& userId) = 0;
    virtual void syncOfflineData(const platform::ObjectPtr& offlineData, const std::shared_ptr<HCBootstrap>& bootstrap) = 0;
    // Adds the offline resource classes to the bootstrap's name map.
    virtual void shareKnownResources(class HCResourceNameMap& map) = 0;
};

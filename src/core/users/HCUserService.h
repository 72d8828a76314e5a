#pragma once
// The user service: fetching a player (the local one and, offline, those
// stored on this device without a request), the accounts used on this
// device, players by name, the e-mail login of an account, and telling the
// service where a player is.
//
// The look-ups (getUser to getEmailForUser) read the offline store and the
// client's local player, which sit above this layer: they are defined with
// the social services (social/users/HCUserService+Lookup.cpp) and link with
// that layer. setUserLocation and the known resources live here.
//
// Thread: the main thread (replies are read on the provider's request thread).
#include <cstdint>
#include <optional>
#include <string>

#include "core/services/HCService.h"
#include "platform/ui/Location.h"

class HCUserService final : public HCService {
public:
    static void initializeService();
    static void shutdownService();
    // Nil before initializeService and after shutdownService.
    static std::shared_ptr<HCUserService> sharedInstance();

    // POST "users/%@/set_location.xml" ("@me" for a nil user id) with "lat"
    // and "lng" in degrees ("%f"), and "allowed" "1" only when `allowed`.
    // Success gets the reply's series, failure the provider's failure
    // object. Nil, with no callback, when the service is not running or the
    // location is nil; a user id that names no path segment fails at once.
    static std::shared_ptr<HCRequestHandle> setUserLocation(const std::optional<std::string>& userId,
                                                            const platform::ui::LocationPtr& location, bool allowed,
                                                            const HCDelegate& onSuccess, const HCDelegate& onFailure);

    // A series holding the player. Answered before the call returns, with
    // nil, when nothing needs the network: a nil or empty id, or the local
    // player's own, gives the local player (online or not); another id while
    // offline gives the player stored on this device, or a failure when
    // none is. Fails at once when there is no local player at all (before
    // start-up). Otherwise GET "users/%@/" and its handle.
    static HCRequestHandlePtr getUser(const std::optional<std::string>& userId, const HCDelegate& onSuccess,
                                      const HCDelegate& onFailure);
    // GET "users/for_device.xml" with "udid", without a logged-in session:
    // the players who used this device.
    static HCRequestHandlePtr findUsersForLocalDevice(const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // GET "users.xml" with "name" and "page": one page of players so named.
    static HCRequestHandlePtr findUsersByName(const std::string& name, int32_t page, const HCDelegate& onSuccess,
                                              const HCDelegate& onFailure);
    // GET "http_basic_credentials/%@.xml" ("@me" for nil): a series with the
    // account's HCHttpBasicCredential.
    static HCRequestHandlePtr getEmailForUser(const std::optional<std::string>& userId, const HCDelegate& onSuccess,
                                              const HCDelegate& onFailure);

    // "user" and "http_basic_credential".
    void populateKnownResources(HCResourceNameMap& map) override;
};

#pragma once
// Players' profiles: a profile (the player, games, game standings, gamer
// score, linked logins as the service sends them), a gamer score, and the
// note that the player looked at the own profile.
//
// A nil user, or the local player's own id, means the local player ("me");
// another player's profile is asked compared to the local player. An empty
// id names nobody: the call fails at once without a request. Every call
// needs a logged-in session. While the service is not running a call
// answers nil and calls nothing back.
//
// Thread: calls on the main thread; replies are read on the provider's
// request thread and delivered on the callbacks' thread.
#include <memory>
#include <optional>
#include <string>

#include "core/services/HCService.h"

class HCProfileService final : public HCService {
public:
    using Text = std::optional<std::string>;

    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCProfileService> sharedInstance();

    static HCRequestHandlePtr getProfileForUser(const Text& userId, const HCDelegate& onSuccess,
                                                const HCDelegate& onFailure);
    static HCRequestHandlePtr getLocalPlayerProfile(const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static HCRequestHandlePtr getGamerscoreForUser(const Text& userId, const HCDelegate& onSuccess,
                                                   const HCDelegate& onFailure);
    // Fire and forget; the service's HTTP error handling is skipped.
    static void viewedOwnProfilePage();

    void populateKnownResources(HCResourceNameMap& map) override;
};

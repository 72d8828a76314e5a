#pragma once
// What the presence service needs of the layers above it: the player's
// access token and the resource classes a message may carry (the client
// core knows both), and what to do on the main thread with a friend's
// changed presence and with a resource worth a notice. The client installs
// them at start-up.
//
// Thread: accessToken is asked on the thread that calls connect(); the two
// handlers run on the main thread.
#include <functional>
#include <optional>
#include <vector>

#include "platform/foundation/Values.h"
#include "transport/oauth/OAuthCredentialStore.h"
#include "transport/poller/HCPollerReplyReader.h"

struct HCPresenceHooks {
    // The provider's access token; nullopt while it is not authenticated.
    std::function<std::optional<OAuthToken>()> accessToken;
    // The classes read from messages; others in a message are ignored.
    std::vector<HCPollerResourceClass> resourceClasses;
    // A player's presence arrived (a resource of the class named "user").
    std::function<void(const platform::ObjectPtr& user)> friendPresenceChanged;
    // The notice for a new message or a player who came online.
    std::function<void(const platform::ObjectPtr& resource)> postInMainThread;
};

#pragma once
// The users table of the offline database: the players who logged in on
// this device, so that their names and pictures show while offline. The
// bootstrap writes the logged-in player on the request thread; pages and the
// score readers look players up on the main thread. Each runs its statements
// on its own thread's connection.
//
// Thread: main thread or the provider's request thread.
#include <memory>
#include <optional>
#include <string>

#include "kernel/callbacks/HCDelegate.h"

class HCUser;

class HCUserServicePrivate {
public:
    using Text = std::optional<std::string>;

    // REPLACE of the row; true when written. A nil id, or one that is not an
    // integer, writes nothing.
    static bool createLocalUser(const Text& userId, const Text& userName, const Text& profilePictureUrl);
    // Nil when the id is not in the table.
    static std::shared_ptr<HCUser> getLocalUser(const Text& userId);
    // Found: success with a one-element array holding the user; not found:
    // failure with nil. Delivered as every callback (never during the call).
    static void getLocalUser(const Text& userId, const HCDelegate& onSuccess, const HCDelegate& onFailure);
};

#pragma once
// How a score page opens a player's profile: the profile page lives with the
// social pages, above this layer, which install the way to open it at
// start-up. Until then (or in a build without them) nothing opens.
//
// Thread: main thread.
#include <functional>
#include <memory>

class HCUser;

class HCProfileOpener {
public:
    using Opener = std::function<void(const std::shared_ptr<HCUser>&)>;

    static void setOpener(Opener opener);
    static void showProfileForUser(const std::shared_ptr<HCUser>& user);
};

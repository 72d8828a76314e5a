#pragma once
// The pending friends count as the friends and profile pages change it:
// one request more or less, and what the local player's following changes
// once the service has confirmed it. The count is a number of players, so a page
// that lowers it past what the service last said stops at 0 instead of
// storing a negative count that every badge would then show.
//
// Thread: main thread.
#include <memory>

class HCUser;

class HCPendingFriends {
public:
    static void lowerByOne();
    static void raiseByOne();
    // The local player follows `user` now: the friend notice, and one
    // request fewer when `user` followed the local player.
    static void startedFollowing(const std::shared_ptr<HCUser>& user);
    // The local player no longer follows `user`: the notice, and a request
    // again when `user` follows the local player.
    static void stoppedFollowing(const std::shared_ptr<HCUser>& user);
};

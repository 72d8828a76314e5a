#pragma once
// Following on the service is one-way: a player follows others and is
// followed by them. This service lists followers and followed players (all,
// or only those who play a game; in pages or as one alphabetical list), the
// friends that can be invited, follows and stops following a player, removes
// a follower, and tells whether the local player follows anyone.
//
// Every call needs a logged-in session. A player id that names nothing (""
// or a nil where one is needed) fails the call at once without a request;
// ids travel as one escaped path segment. Where a nil user means the local
// player, "me" is sent, except for the followers, which then send no user.
// A nil application id means this game; getAllUsersWithApp takes an empty
// one for this game too, getUsersWithAppFollowedByUser sends it as it is.
// A call that needs a game and has none (none given, this game's id not
// known) fails at once. While the service is not running a call answers
// nil and calls nothing back.
//
// Thread: calls on the main thread; replies are read on the provider's
// request thread and delivered on the callbacks' thread.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/services/HCService.h"

class HCHttpNestedQueryStringWriter;

class HCFriendsService final : public HCService {
public:
    using Text = std::optional<std::string>;

    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCFriendsService> sharedInstance();

    // Success gets a boolean number (YES when the local player follows at
    // least one player), not a series.
    static HCRequestHandlePtr isLocalUserFollowingAnyone(const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // The followers of the user (of the local player when nil: then no
    // "user_id" is sent); with the flag, only those the local player does
    // not follow back.
    static HCRequestHandlePtr getUsersFollowingUser(const Text& userId, bool excludeUsersFollowedByTarget,
                                                    int32_t page, const HCDelegate& onSuccess,
                                                    const HCDelegate& onFailure);
    static HCRequestHandlePtr getUsersFollowingLocalUser(int32_t page, bool excludeUsersFollowedByTarget,
                                                         const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static HCRequestHandlePtr getUsersWithAppFollowedByUser(const Text& applicationId, const Text& userId,
                                                            int32_t page, const HCDelegate& onSuccess,
                                                            const HCDelegate& onFailure);
    static HCRequestHandlePtr getUsersWithAppFollowedByLocalUser(const Text& applicationId, int32_t page,
                                                                 const HCDelegate& onSuccess,
                                                                 const HCDelegate& onFailure);
    // The players the user follows: the caller's parameters, to which
    // "user_id" and "scope" are added.
    static HCRequestHandlePtr getUsersFollowedByUser(const Text& userId, HCHttpNestedQueryStringWriter& params,
                                                     const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static HCRequestHandlePtr getUsersFollowedByUser(const Text& userId, int32_t page, const HCDelegate& onSuccess,
                                                     const HCDelegate& onFailure);
    static HCRequestHandlePtr getUsersFollowedByLocalUser(int32_t page, const HCDelegate& onSuccess,
                                                          const HCDelegate& onFailure);
    // One flat alphabetical list of the followed players who play the game.
    static HCRequestHandlePtr getAllUsersWithApp(const Text& applicationId, const Text& followedByUser,
                                                 const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // One alphabetical list of the followed players, in sections.
    static HCRequestHandlePtr getAllUsersFollowedByUserAlphabetical(const Text& userId, const HCDelegate& onSuccess,
                                                                    const HCDelegate& onFailure);
    static HCRequestHandlePtr getAllUsersFollowedByLocalUserAlphabetical(const HCDelegate& onSuccess,
                                                                         const HCDelegate& onFailure);
    static HCRequestHandlePtr getInvitableFriends(int32_t page, const HCDelegate& onSuccess,
                                                  const HCDelegate& onFailure);
    // POST / DELETE "users/%@/following.xml"; removing a follower is the
    // DELETE with "follower" "yes".
    static HCRequestHandlePtr makeLocalUserFollow(const Text& userId, const HCDelegate& onSuccess,
                                                  const HCDelegate& onFailure);
    static HCRequestHandlePtr makeLocalUserStopFollowing(const Text& userId, const HCDelegate& onSuccess,
                                                         const HCDelegate& onFailure);
    static HCRequestHandlePtr removeLocalUsersFollower(const Text& userId, const HCDelegate& onSuccess,
                                                       const HCDelegate& onFailure);

    void populateKnownResources(HCResourceNameMap& map) override;
    // A full alphabetical list comes in one reply of about 220 bytes a
    // player: 10,000 players pass the default limit.
    std::size_t maxReplyBytes() const override;
};

#pragma once
// The logged-in player as the game sees it: the player, counts for a badge,
// the player's choice about automatic posts, and four operations (is a social
// network linked, stop following a player, follow one, make this game a
// favourite) reported to the class's one HCCurrentUserDelegate.
//
// Following and unfollowing change nothing locally: the caller updates the
// user's followedByLocalUser when it wants to.
//
// Thread: main.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/users/HCUser.h"
#include "transport/handles/HCRequestHandle.h"

class HCCurrentUserDelegate;

class HCCurrentUser final {
public:
    static constexpr const char* kModule = "HCCurrentUser";

    // The local player; nil before the client is started.
    static HCUserPtr currentUser();
    // Unviewed challenges + pending friends + unread inbox (messages, forum
    // posts, invitations).
    static int32_t HalcyonBadgeCount();
    static bool allowsAutoSocialNotifications();
    static int32_t unviewedChallengesCount();
    // Whether the player followed anyone when the client last started.
    static bool hasFriends();

    static void setDelegate(HCCurrentUserDelegate* delegate);
    // didCheckConnectedToSocialNetwork(YES/NO) from the linked logins; a
    // reply of another shape than one section of logins answers NO.
    static HCRequestHandlePtr checkConnectedToSocialNetwork();
    static HCRequestHandlePtr unfriend(const HCUserPtr& user);
    static HCRequestHandlePtr sendFriendRequest(const HCUserPtr& user);
    static HCRequestHandlePtr favoriteCurrentGame(const std::optional<std::string>& reviewText);

    // The answer of the social-network check for a reply.
    static bool _connectedToSocialNetwork(const platform::ObjectPtr& reply);
};

#pragma once
// The names and user-info keys of the notices the client posts to the default
// notification center, for the game and the dashboard's screens to observe.
// Each constant's text is its own name.
//
// Thread: constants; any thread.

inline constexpr const char* HCNSNotificationUserChanged = "HCNSNotificationUserChanged";
inline constexpr const char* HCNSNotificationInfoPreviousUser = "HCNSNotificationInfoPreviousUser";
inline constexpr const char* HCNSNotificationInfoCurrentUser = "HCNSNotificationInfoCurrentUser";

inline constexpr const char* HCNSNotificationUnviewedChallengeCountChanged =
    "HCNSNotificationUnviewedChallengeCountChanged";
inline constexpr const char* HCNSNotificationInfoUnviewedChallengeCount = "HCNSNotificationInfoUnviewedChallengeCount";
inline constexpr const char* HCNSNotificationPendingFriendCountChanged = "HCNSNotificationPendingFriendCountChanged";
inline constexpr const char* HCNSNotificationInfoPendingFriendCount = "HCNSNotificationInfoPendingFriendCount";

inline constexpr const char* HCNSNotificationAddFriend = "HCNSNotificationAddFriend";
inline constexpr const char* HCNSNotificationRemoveFriend = "HCNSNotificationRemoveFriend";
inline constexpr const char* HCNSNotificationInfoFriend = "HCNSNotificationInfoFriend";

inline constexpr const char* HCNSNotificationUnreadAnnouncementCountChanged =
    "HCNSNotificationUnreadAnnouncementCountChanged";
inline constexpr const char* HCNSNotificationInfoUnreadAnnouncementCount =
    "HCNSNotificationInfoUnreadAnnouncementCount";
inline constexpr const char* HCNSNotificationUnreadInboxCountChanged = "HCNSNotificationUnreadInboxCountChanged";
inline constexpr const char* HCNSNotificationInfoUnreadInboxCount = "HCNSNotificationInfoUnreadInboxCount";
inline constexpr const char* HCNSNotificationUnreadIMCountChanged = "HCNSNotificationUnreadIMCountChanged";
inline constexpr const char* HCNSNotificationInfoUnreadIMCount = "HCNSNotificationInfoUnreadIMCount";
inline constexpr const char* HCNSNotificationUnreadPostCountChanged = "HCNSNotificationUnreadPostCountChanged";
inline constexpr const char* HCNSNotificationInfoUnreadPostCount = "HCNSNotificationInfoUnreadPostCount";
inline constexpr const char* HCNSNotificationUnreadInviteCountChanged = "HCNSNotificationUnreadInviteCountChanged";
inline constexpr const char* HCNSNotificationInfoUnreadInviteCount = "HCNSNotificationInfoUnreadInviteCount";

inline constexpr const char* HCNSNotificationDashboardOrientationChanged =
    "HCNSNotificationDashboardOrientationChanged";
inline constexpr const char* HCNSNotificationInfoNewOrientation = "HCNSNotificationInfoNewOrientation";
inline constexpr const char* HCNSNotificationInfoOldOrientation = "HCNSNotificationInfoOldOrientation";

inline constexpr const char* HCNSNotificationBootstrapBegan = "HCNSNotificationBootstrapBegan";
inline constexpr const char* HCNSNotificationBootstrapBeganUserId = "HCNSNotificationBootstrapBeganUserId";
inline constexpr const char* HCNSNotificationBootstrapSucceeded = "HCNSNotificationBootstrapSucceeded";
inline constexpr const char* HCNSNotificationBootstrapFailed = "HCNSNotificationBootstrapFailed";
inline constexpr const char* HCNSNotificationBootstrapCompleted = "HCNSNotificationBootstrapCompleted";

inline constexpr const char* HCNSNotificationFriendPresenceChanged = "HCNSNotificationFriendPresenceChanged";
inline constexpr const char* HCNSNotificationInfoPresenceUser = "user";
inline constexpr const char* HCNSNotificationInfoPresence = "presence";

// Posted directly by the parts that own them.
inline constexpr const char* HCNSNotificationUserOnline = "HCNSNotificationUserOnline";
inline constexpr const char* HCNSNotificationUserOffline = "HCNSNotificationUserOffline";
inline constexpr const char* HCNSNotificationFullscreenFrameOn = "HCNSNotificationFullscreenFrameOn";
inline constexpr const char* HCNSNotificationFullscreenFrameOff = "HCNSNotificationFullscreenFrameOff";
inline constexpr const char* HCNSNotificationGameCenterFriendsLoaded = "HCNSNotificationGameCenterFriendsLoaded";
inline constexpr const char* HCNSNotificationGameCenterScoresLoaded = "HCNSNotificationGameCenterScoresLoaded";

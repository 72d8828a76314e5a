#pragma once
// The payload of one banner: its text, an optional icon (a resource image
// name), what it is about (category) and what happened (type). Categories
// and types only travel to the game's notification delegate; the banner
// views never look at them.
//
// The two subjects a banner can carry (an unlocked achievement, a received
// challenge) are described by plain values here, so that the score and
// challenge classes of the layer above hand over what the banner shows
// (and keep their record alive through `subject`) without this layer
// knowing their classes.
//
// Thread: made on any thread; read-only once handed to the banner service.
#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/Object.h"

class HCUser;

// Categories.
inline constexpr int HCNotificationCategoryForeground = 1;
inline constexpr int HCNotificationCategoryLogin = 2;
inline constexpr int HCNotificationCategoryChallenge = 3;
inline constexpr int HCNotificationCategoryHighScore = 4;
inline constexpr int HCNotificationCategoryLeaderboard = 5;
inline constexpr int HCNotificationCategoryAchievement = 6;
inline constexpr int HCNotificationCategorySocialNotification = 7;
inline constexpr int HCNotificationCategoryPresence = 8;
// Types.
inline constexpr int HCNotificationTypeNone = 0;
inline constexpr int HCNotificationTypeSubmitting = 1;
inline constexpr int HCNotificationTypeDownloading = 2;
inline constexpr int HCNotificationTypeError = 3;
inline constexpr int HCNotificationTypeSuccess = 4;
inline constexpr int HCNotificationTypeNewResources = 5;
inline constexpr int HCNotificationTypeUserPresenceOnline = 6;
inline constexpr int HCNotificationTypeNewMessage = 8;

// A banner's status icon is a resource image name; none for success.
inline constexpr const char* HCNotificationStatusFailure = "HalcyonStatusIconNotificationFailure.png";
inline const std::optional<std::string> HCNotificationStatusSuccess = std::nullopt;

class HCNotificationData : public platform::Object {
public:
    static std::shared_ptr<HCNotificationData> dataWithText(const std::string& text, int category, int type);
    static std::shared_ptr<HCNotificationData> dataWithText(const std::string& text, int category);
    static std::shared_ptr<HCNotificationData> foreGroundDataWithText(const std::string& text);

    std::string notificationText;
    // Nil or empty: no icon.
    std::optional<std::string> imageName;
    int notificationCategory = 0;
    int notificationType = 0;
    // Free for the creator; nothing in the client reads it.
    platform::ObjectPtr notificationUserData;
};

using HCNotificationDataPtr = std::shared_ptr<HCNotificationData>;

// What an achievement banner shows of its achievement.
struct HCAchievementNoticeInfo {
    std::string resourceId;
    std::string title;
    int gamerscore = 0;
    // The icon's download address; nil or empty: none.
    std::optional<std::string> iconUrl;
    // The achievement record itself, kept while the banner lives.
    platform::ObjectPtr subject;
};

// What a challenge banner shows of a received challenge.
struct HCChallengeNoticeInfo {
    std::shared_ptr<HCUser> challenger;
    // The challenge definition's icon; nil or empty: none.
    std::optional<std::string> definitionIconUrl;
    platform::ObjectPtr subject;
};

// "Achievement Unlocked!", achievements, success.
class HCUnlockedAchievementNotificationData final : public HCNotificationData {
public:
    static std::shared_ptr<HCUnlockedAchievementNotificationData> dataWithAchievement(
        const std::optional<HCAchievementNoticeInfo>& achievement, double percentComplete);

    std::optional<HCAchievementNoticeInfo> unlockedAchievement;
    double percentComplete = 0;
};

// "New Challenge!", challenges, new item.
class HCReceivedChallengeNotificationData final : public HCNotificationData {
public:
    static std::shared_ptr<HCReceivedChallengeNotificationData> dataWithChallengeToUser(
        const std::optional<HCChallengeNoticeInfo>& challenge);

    std::optional<HCChallengeNoticeInfo> receivedChallengeToUser;
};

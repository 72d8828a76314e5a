#include "core/banners/HCNotificationData.h"

std::shared_ptr<HCNotificationData> HCNotificationData::dataWithText(const std::string& text, int category, int type)
{
    auto data = std::make_shared<HCNotificationData>();
    data->notificationText = text;
    data->notificationCategory = category;
    data->notificationType = type;
    return data;
}

std::shared_ptr<HCNotificationData> HCNotificationData::dataWithText(const std::string& text, int category)
{
    return dataWithText(text, category, HCNotificationTypeNone);
}

std::shared_ptr<HCNotificationData> HCNotificationData::foreGroundDataWithText(const std::string& text)
{
    return dataWithText(text, HCNotificationCategoryForeground, HCNotificationTypeNone);
}

std::shared_ptr<HCUnlockedAchievementNotificationData> HCUnlockedAchievementNotificationData::dataWithAchievement(
    const std::optional<HCAchievementNoticeInfo>& achievement, double percentComplete)
{
    auto data = std::make_shared<HCUnlockedAchievementNotificationData>();
    data->notificationText = "Achievement Unlocked!";
    data->notificationCategory = HCNotificationCategoryAchievement;
    data->notificationType = HCNotificationTypeSuccess;
    data->unlockedAchievement = achievement;
    data->percentComplete = percentComplete;
    return data;
}

std::shared_ptr<HCReceivedChallengeNotificationData> HCReceivedChallengeNotificationData::dataWithChallengeToUser(
    const std::optional<HCChallengeNoticeInfo>& challenge)
{
    auto data = std::make_shared<HCReceivedChallengeNotificationData>();
    data->notificationText = "New Challenge!";
    data->notificationCategory = HCNotificationCategoryChallenge;
    data->notificationType = HCNotificationTypeNewResources;
    data->receivedChallengeToUser = challenge;
    return data;
}

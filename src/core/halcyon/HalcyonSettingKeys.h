#pragma once
// The keys of the settings dictionary a game hands to start-up. Each
// constant's text is the key; a missing key reads as NO, 0 or nil.
//
// Thread: constants; any thread.

inline constexpr const char* HalcyonSettingEnablePushNotifications = "EnablePushNotifications";
inline constexpr const char* HalcyonSettingNotificationPosition = "HalcyonSettingNotificationPosition";
inline constexpr const char* HalcyonSettingDisableUserGeneratedContent = "HalcyonSettingDisableUserGeneratedContent";
inline constexpr const char* HalcyonSettingDisableLocationServices = "HalcyonSettingDisableLocationServices";
inline constexpr const char* HalcyonSettingRequireOnlineStatus = "HalcyonSettingRequireOnlineStatus";
inline constexpr const char* HalcyonSettingDisableCloudStorageCompression =
    "HalcyonSettingDisableCloudStorageCompression";
inline constexpr const char* HalcyonSettingOutputCloudStorageCompressionRatio =
    "HalcyonSettingOutputCloudStorageCompressionRatio";
// The constant's name and its text differ on purpose: games already send this text.
inline constexpr const char* HalcyonSettingCloudStorageLegacyHeaderlessCompression =
    "HalcyonSettingCloudStorageHeaderlessCompression";
inline constexpr const char* HalcyonSettingGameCenterEnabled = "HalcyonSettingGameCenterEnabled";
inline constexpr const char* HalcyonSettingDashboardOrientation = "DashboardOrientation";
inline constexpr const char* HalcyonSettingShortDisplayName = "ShortDisplayName";
inline constexpr const char* HalcyonSettingUseInternalSettingsFile = "HalcyonSettingUseInternalSettingsFile";
inline constexpr const char* HalcyonSettingUseSandboxPushNotificationServer =
    "HalcyonSettingUseSandboxPushNotificationServer";
inline constexpr const char* HalcyonSettingPresentationWindow = "HalcyonSettingPresentationWindow";
inline constexpr const char* HalcyonSettingOverrideSuffixString = "HalcyonSettingOverrideSuffixString";
inline constexpr const char* HalcyonSettingOverrideClassNamePrefixString =
    "HalcyonSettingOverrideClassNamePrefixString";
inline constexpr const char* HalcyonSettingInitialUserId = "HalcyonSettingInitialUserId";
inline constexpr const char* HalcyonSettingSnapDashboardRotation = "HalcyonSettingSnapDashboardRotation";
inline constexpr const char* HalcyonSettingPromptUserForLogin = "HalcyonSettingPromptUserForLogin";

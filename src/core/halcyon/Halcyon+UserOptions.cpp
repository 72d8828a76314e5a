// What the client remembers about the player and the last log-in between
// launches, in the user defaults. No other code touches these keys, but
// SendDenialDelegate, which marks a refusal as sent.
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonUserOptionsStore.h"
#include "core/halcyon/HalcyonInstanceSlot.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Thread.h"
#include "platform/ui/Application.h"

namespace {

constexpr const char* kShouldAutomaticallyPromptLogin = "HalcyonSettingShouldAutomaticallyPromptLogin";
constexpr const char* kUserHalcyonApproval = "HalcyonUserOptionUserHalcyonApproval";
constexpr const char* kShouldWarnOnIncompleteDelegates = "HalcyonUserOptionShouldWarnOnIncompleteDelegates";
constexpr const char* kLastLoggedInUserHasSetName = "HalcyonSettingLastLoggedInUserHasSetName";
// The had-friends flag lives under this key, apart from the has-set-name key.
constexpr const char* kLastLoggedInUserHadFriendsOnBootup = "HalcyonSettingLastLoggedInUserHadSetNameOnBootup";
constexpr const char* kLoggedInUserSharesOnlineStatus = "HalcyonUserOptionLoggedInUserSharesOnlineStatus";
constexpr const char* kHasNonDeviceCredential = "HalcyonSettingLastLoggedInUserHasNonDeviceCredential";
constexpr const char* kHasHttpBasicCredential = "HalcyonSettingLastLoggedInUserHasHttpBasicCredential";
constexpr const char* kHasFbconnectCredential = "HalcyonSettingLastLoggedInUserHasFbconnectCredential";
constexpr const char* kHasTwitterCredential = "HalcyonSettingLastLoggedInUserHasTwitterCredential";
constexpr const char* kIsNewUser = "HalcyonSettingsLastLoggedInUserIsNewUser";
constexpr const char* kClientApplicationId = "HalcyonSettingClientApplicationId";
constexpr const char* kInitialDashboardScreen = "HalcyonUserOptionInitialDashboardScreen";
constexpr const char* kInitialDashboardModalContentURL = "HalcyonUserOptionInitialDashboardModalContentURL";
constexpr const char* kClientApplicationIconUrl = "HalcyonSettingClientApplicationIconUrl";
constexpr const char* kUnviewedChallengesCount = "HalcyonSettingUnviewedChallengesCount";
constexpr const char* kPendingFriendsCount = "HalcyonSettingPendingFriendsCount";
constexpr const char* kUnreadIMCount = "HalcyonUserOptionUnreadIMCount";
constexpr const char* kUnreadPostCount = "HalcyonUserOptionUnreadPostCount";
constexpr const char* kUnreadInviteCount = "HalcyonUserOptionUnreadInviteCount";
constexpr const char* kRememberedChoiceForNotifications = "HalcyonUserOptionUserHasRememberedChoiceForNotifications";
constexpr const char* kUserAllowsNotifications = "HalcyonUserOptionUserAllowsNotifications";
constexpr const char* kDistanceUnit = "HalcyonUserOptionDistanceUnit";
constexpr const char* kLastAnnouncementDatePrefix = "HalcyonLastAnnouncementDate_UserID";
constexpr const char* kSuggestionsForumId = "HalcyonUserOptionSuggestionsForumId";
constexpr const char* kDoneWithGetTheMost = "HalcyonUserOptionDoneWithGetTheMost";
constexpr const char* kIsDisabled = "HalcyonUserOptionIsDisabled";
constexpr const char* kSynchedWithGameCenterAchievements = "HalcyonUserSynchedWithGameCenterAchievements";
constexpr const char* kSynchedWithGameCenterLeaderboards = "HalcyonUserSynchedWithGameCenterLeaderboards";

void setFlag(const char* key, bool value)
{
    userOptionsStore()->setObject(key, platform::Number::makeBool(value));
}

void setText(const char* key, const std::optional<std::string>& value)
{
    userOptionsStore()->setObject(key, value ? platform::String::make(*value) : nullptr);
}

unsigned asCount(long value)
{
    return value < 0 ? 0u : static_cast<unsigned>(value);
}

}  // namespace

void Halcyon::intiailizeUserOptions()
{
    auto registered = platform::Dictionary::make();
    registered->setString(kShouldAutomaticallyPromptLogin, "YES");
    userOptionsStore()->registerDefaults(registered);
    registerArchivedDefaults();
}

bool Halcyon::shouldAutomaticallyPromptLogin()
{
    return userOptionsStore()->boolForKey(kShouldAutomaticallyPromptLogin);
}

void Halcyon::setDontAutomaticallyPromptLogin()
{
    setText(kShouldAutomaticallyPromptLogin, "NO");
}

bool Halcyon::hasUserSetHalcyonAccess()
{
    return userOptionsStore()->stringForKey(kUserHalcyonApproval).has_value();
}

bool Halcyon::hasUserApprovedHalcyon()
{
    return userOptionsStore()->stringForKey(kUserHalcyonApproval) == std::optional<std::string>("YES");
}

void Halcyon::setUserApprovedHalcyon()
{
    setText(kUserHalcyonApproval, "YES");
}

void Halcyon::setUserDeniedHalcyon()
{
    setText(kUserHalcyonApproval, "NO");
}

void Halcyon::_resetHasUserSetHalcyonAccessKey()
{
    userOptionsStore()->removeObjectForKey(kUserHalcyonApproval);
}

void Halcyon::setShouldWarnOnIncompleteDelegates(bool value)
{
    userOptionsStore()->setBool(kShouldWarnOnIncompleteDelegates, value);
}

bool Halcyon::lastLoggedInUserHasSetName() { return userOptionsStore()->boolForKey(kLastLoggedInUserHasSetName); }
void Halcyon::setLoggedInUserHasSetName(bool value) { setFlag(kLastLoggedInUserHasSetName, value); }
bool Halcyon::lastLoggedInUserHadFriendsOnBootup()
{
    return userOptionsStore()->boolForKey(kLastLoggedInUserHadFriendsOnBootup);
}
void Halcyon::setLoggedInUserHadFriendsOnBootup(bool value) { setFlag(kLastLoggedInUserHadFriendsOnBootup, value); }
bool Halcyon::loggedInUserSharesOnlineStatus()
{
    return userOptionsStore()->boolForKey(kLoggedInUserSharesOnlineStatus);
}
void Halcyon::setLoggedInUserSharesOnlineStatus(bool value) { setFlag(kLoggedInUserSharesOnlineStatus, value); }
bool Halcyon::loggedInUserHasNonDeviceCredential() { return userOptionsStore()->boolForKey(kHasNonDeviceCredential); }
void Halcyon::setLoggedInUserHasNonDeviceCredential(bool value) { setFlag(kHasNonDeviceCredential, value); }
bool Halcyon::loggedInUserHasHttpBasicCredential() { return userOptionsStore()->boolForKey(kHasHttpBasicCredential); }
void Halcyon::setLoggedInUserHasHttpBasicCredential(bool value) { setFlag(kHasHttpBasicCredential, value); }
bool Halcyon::loggedInUserHasFbconnectCredential() { return userOptionsStore()->boolForKey(kHasFbconnectCredential); }
void Halcyon::setLoggedInUserHasFbconnectCredential(bool value) { setFlag(kHasFbconnectCredential, value); }
bool Halcyon::loggedInUserHasTwitterCredential() { return userOptionsStore()->boolForKey(kHasTwitterCredential); }
void Halcyon::setLoggedInUserHasTwitterCredential(bool value) { setFlag(kHasTwitterCredential, value); }
bool Halcyon::loggedInUserIsNewUser() { return userOptionsStore()->boolForKey(kIsNewUser); }
void Halcyon::setLoggedInUserIsNewUser(bool value) { setFlag(kIsNewUser, value); }

std::optional<std::string> Halcyon::clientApplicationId()
{
    return userOptionsStore()->stringForKey(kClientApplicationId);
}
void Halcyon::setClientApplicationId(const std::optional<std::string>& id) { setText(kClientApplicationId, id); }
std::optional<std::string> Halcyon::initialDashboardScreen()
{
    return userOptionsStore()->stringForKey(kInitialDashboardScreen);
}
void Halcyon::setInitialDashboardScreen(const std::optional<std::string>& screen)
{
    setText(kInitialDashboardScreen, screen);
}
std::optional<std::string> Halcyon::initialDashboardModalContentURL()
{
    return platform::textOf(userOptionsStore()->objectForKey(kInitialDashboardModalContentURL));
}
void Halcyon::setInitialDashboardModalContentURL(const std::optional<std::string>& url)
{
    setText(kInitialDashboardModalContentURL, url);
}
std::optional<std::string> Halcyon::clientApplicationIconUrl()
{
    return userOptionsStore()->stringForKey(kClientApplicationIconUrl);
}
void Halcyon::setClientApplicationIconUrl(const std::optional<std::string>& url)
{
    setText(kClientApplicationIconUrl, url);
}

long Halcyon::unviewedChallengesCount() { return userOptionsStore()->integerForKey(kUnviewedChallengesCount); }

void Halcyon::setUnviewedChallengesCount(long count)
{
    userOptionsStore()->setInteger(kUnviewedChallengesCount, count);
    postUnviewedChallengeCountChangedTo(asCount(count));
    // The application object belongs to the main thread, like the notice.
    auto updateBadge = [count] {
        platform::ui::Application::shared()->setApplicationIconBadgeNumber(static_cast<int>(count));
    };
    if (platform::Thread::isMainThread()) {
        updateBadge();
    } else {
        platform::performOnMain(updateBadge);
    }
}

long Halcyon::pendingFriendsCount() { return userOptionsStore()->integerForKey(kPendingFriendsCount); }

void Halcyon::setPendingFriendsCount(long count)
{
    userOptionsStore()->setInteger(kPendingFriendsCount, count);
    postPendingFriendsCountChangedTo(asCount(count));
}

long Halcyon::unreadIMCount() { return userOptionsStore()->integerForKey(kUnreadIMCount); }
long Halcyon::unreadPostCount() { return userOptionsStore()->integerForKey(kUnreadPostCount); }
long Halcyon::unreadInviteCount() { return userOptionsStore()->integerForKey(kUnreadInviteCount); }

long Halcyon::unreadInboxTotal()
{
    return unreadIMCount() + unreadPostCount() + unreadInviteCount();
}

void Halcyon::setUnreadIMCount(long count)
{
    userOptionsStore()->setInteger(kUnreadIMCount, count);
    postUnreadInboxCountChangedTo(asCount(unreadInboxTotal()));
    postUnreadIMCountChangedTo(asCount(count));
}

void Halcyon::setUnreadPostCount(long count)
{
    userOptionsStore()->setInteger(kUnreadPostCount, count);
    postUnreadInboxCountChangedTo(asCount(unreadInboxTotal()));
    postUnreadPostCountChangedTo(asCount(count));
}

void Halcyon::setUnreadInviteCount(long count)
{
    userOptionsStore()->setInteger(kUnreadInviteCount, count);
    postUnreadInboxCountChangedTo(asCount(unreadInboxTotal()));
    postUnreadInviteCountChangedTo(asCount(count));
}

void Halcyon::setUnreadIMCount(long im, long posts, long invites)
{
    userOptionsStore()->setInteger(kUnreadIMCount, im);
    userOptionsStore()->setInteger(kUnreadPostCount, posts);
    userOptionsStore()->setInteger(kUnreadInviteCount, invites);
    postUnreadInboxCountChangedTo(asCount(unreadInboxTotal()));
    postUnreadIMCountChangedTo(asCount(im));
    postUnreadPostCountChangedTo(asCount(posts));
    postUnreadInviteCountChangedTo(asCount(invites));
}

bool Halcyon::userHasRememberedChoiceForNotifications()
{
    return userOptionsStore()->boolForKey(kRememberedChoiceForNotifications);
}
void Halcyon::setUserHasRememberedChoiceForNotifications(bool value)
{
    userOptionsStore()->setBool(kRememberedChoiceForNotifications, value);
}
bool Halcyon::userAllowsNotifications() { return userOptionsStore()->boolForKey(kUserAllowsNotifications); }
void Halcyon::setUserAllowsNotifications(bool value) { userOptionsStore()->setBool(kUserAllowsNotifications, value); }

long Halcyon::userDistanceUnit() { return userOptionsStore()->integerForKey(kDistanceUnit); }

void Halcyon::setUserDistanceUnit(long unit)
{
    userOptionsStore()->setInteger(kDistanceUnit, allowLocationServices() ? unit : 1);
    userOptionsStore()->synchronize();
}

std::optional<std::string> Halcyon::suggestionsForumId()
{
    return platform::textOf(userOptionsStore()->objectForKey(kSuggestionsForumId));
}
void Halcyon::setSuggestionsForumId(const std::optional<std::string>& id) { setText(kSuggestionsForumId, id); }
bool Halcyon::doneWithGetTheMost() { return userOptionsStore()->boolForKey(kDoneWithGetTheMost); }
void Halcyon::setDoneWithGetTheMost(bool value) { userOptionsStore()->setBool(kDoneWithGetTheMost, value); }
bool Halcyon::isDisabled() { return userOptionsStore()->boolForKey(kIsDisabled); }
void Halcyon::setDisabled(bool value) { userOptionsStore()->setBool(kIsDisabled, value); }
bool Halcyon::isSynchedWithGameCenterAchievements()
{
    return userOptionsStore()->boolForKey(kSynchedWithGameCenterAchievements);
}
void Halcyon::setSynchWithGameCenterAchievements(bool value)
{
    userOptionsStore()->setBool(kSynchedWithGameCenterAchievements, value);
}
bool Halcyon::isSynchedWithGameCenterLeaderboards()
{
    return userOptionsStore()->boolForKey(kSynchedWithGameCenterLeaderboards);
}
void Halcyon::setSynchWithGameCenterLeaderboards(bool value)
{
    userOptionsStore()->setBool(kSynchedWithGameCenterLeaderboards, value);
}

platform::DatePtr Halcyon::lastAnnouncementDateForLocalUser()
{
    const std::string key = kLastAnnouncementDatePrefix + lastLoggedInUserId();
    if (auto stored = std::dynamic_pointer_cast<platform::Date>(userOptionsStore()->objectForKey(key))) {
        return stored;
    }
    auto distantPast = platform::Date::distantPast();
    userOptionsStore()->setObject(key, distantPast);
    return distantPast;
}

void Halcyon::setLastAnnouncementDateForLocalUser(const platform::DatePtr& date)
{
    if (!date) {
        return;
    }
    // Nothing stored counts as the distant past, so the first date is kept.
    const auto stored = lastAnnouncementDateForLocalUser();
    if (date->compare(*stored) == platform::Date::Order::Descending) {
        userOptionsStore()->setObject(kLastAnnouncementDatePrefix + lastLoggedInUserId(), date);
    }
}

std::string Halcyon::nowPlayingBadge(unsigned unreadAnnouncements)
{
    return std::to_string(asCount(unviewedChallengesCount()) + unreadAnnouncements);
}

std::string Halcyon::myHalcyonBadge()
{
    return std::to_string(asCount(pendingFriendsCount()) + asCount(unreadInboxTotal()));
}

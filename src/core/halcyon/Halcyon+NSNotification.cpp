// The client's notices. Observers of these touch the UI (badges, pages), so
// every notice reaches them on the main thread: posted at once when the
// caller is there, else handed to the main run loop (the log-in reply, for
// one, applies its counts on the provider's request thread).
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/Thread.h"

namespace {

void postOnMainInHalcyonNSNotification(const std::string& name, std::shared_ptr<platform::Dictionary> userInfo = nullptr)
{
    auto post = [name, userInfo = std::move(userInfo)] {
        platform::NotificationCenter::defaultCenter().post(name, nullptr, userInfo);
    };
    if (platform::Thread::isMainThread()) {
        post();
    } else {
        platform::performOnMain(std::move(post));
    }
}

std::shared_ptr<platform::Dictionary> info(const char* key, platform::ObjectPtr value)
{
    auto dictionary = platform::Dictionary::make();
    dictionary->setObject(key, std::move(value));
    return dictionary;
}

std::shared_ptr<platform::Dictionary> count(const char* key, unsigned value)
{
    return info(key, std::make_shared<platform::Number>(value));
}

}  // namespace

void Halcyon::postUserChangedNotification(const platform::ObjectPtr& fromUser, const platform::ObjectPtr& toUser)
{
    auto userInfo = platform::Dictionary::make();
    userInfo->setObject(HCNSNotificationInfoPreviousUser, fromUser);
    userInfo->setObject(HCNSNotificationInfoCurrentUser, toUser);
    postOnMainInHalcyonNSNotification(HCNSNotificationUserChanged, userInfo);
}

void Halcyon::postUnviewedChallengeCountChangedTo(unsigned value)
{
    postOnMainInHalcyonNSNotification(HCNSNotificationUnviewedChallengeCountChanged, count(HCNSNotificationInfoUnviewedChallengeCount, value));
}

void Halcyon::postPendingFriendsCountChangedTo(unsigned value)
{
    postOnMainInHalcyonNSNotification(HCNSNotificationPendingFriendCountChanged, count(HCNSNotificationInfoPendingFriendCount, value));
}

void Halcyon::postAddFriend(const platform::ObjectPtr& user)
{
    postOnMainInHalcyonNSNotification(HCNSNotificationAddFriend, info(HCNSNotificationInfoFriend, user));
}

void Halcyon::postRemoveFriend(const platform::ObjectPtr& user)
{
    postOnMainInHalcyonNSNotification(HCNSNotificationRemoveFriend, info(HCNSNotificationInfoFriend, user));
}

void Halcyon::postUnreadAnnouncementCountChangedTo(unsigned value)
{
    postOnMainInHalcyonNSNotification(HCNSNotificationUnreadAnnouncementCountChanged,
               count(HCNSNotificationInfoUnreadAnnouncementCount, value));
}

void Halcyon::postUnreadInboxCountChangedTo(unsigned value)
{
    postOnMainInHalcyonNSNotification(HCNSNotificationUnreadInboxCountChanged, count(HCNSNotificationInfoUnreadInboxCount, value));
}

void Halcyon::postUnreadIMCountChangedTo(unsigned value)
{
    postOnMainInHalcyonNSNotification(HCNSNotificationUnreadIMCountChanged, count(HCNSNotificationInfoUnreadIMCount, value));
}

void Halcyon::postUnreadPostCountChangedTo(unsigned value)
{
    postOnMainInHalcyonNSNotification(HCNSNotificationUnreadPostCountChanged, count(HCNSNotificationInfoUnreadPostCount, value));
}

void Halcyon::postUnreadInviteCountChangedTo(unsigned value)
{
    postOnMainInHalcyonNSNotification(HCNSNotificationUnreadInviteCountChanged, count(HCNSNotificationInfoUnreadInviteCount, value));
}

void Halcyon::postDashboardOrientationChangedTo(int newOrientation, int oldOrientation)
{
    auto userInfo = platform::Dictionary::make();
    userInfo->setObject(HCNSNotificationInfoNewOrientation, platform::Number::makeInt(newOrientation));
    userInfo->setObject(HCNSNotificationInfoOldOrientation, platform::Number::makeInt(oldOrientation));
    postOnMainInHalcyonNSNotification(HCNSNotificationDashboardOrientationChanged, userInfo);
}

void Halcyon::postBootstrapBegan(const std::optional<std::string>& userId)
{
    postOnMainInHalcyonNSNotification(HCNSNotificationBootstrapBegan,
               userId ? info(HCNSNotificationBootstrapBeganUserId, platform::String::make(*userId)) : nullptr);
}

void Halcyon::postBootstrapSucceeded()
{
    postOnMainInHalcyonNSNotification(HCNSNotificationBootstrapSucceeded);
    postOnMainInHalcyonNSNotification(HCNSNotificationBootstrapCompleted);
}

void Halcyon::postBootstrapFailed()
{
    postOnMainInHalcyonNSNotification(HCNSNotificationBootstrapFailed);
    postOnMainInHalcyonNSNotification(HCNSNotificationBootstrapCompleted);
}

void Halcyon::postFriendPresenceChanged(const platform::ObjectPtr& user, const platform::ObjectPtr& presence)
{
    platform::log(platform::LogLevel::Debug, "User: " + platform::textOf(user).value_or("(null)") +
                                                ", Presence: " + platform::textOf(presence).value_or("(null)"));
    auto userInfo = platform::Dictionary::make();
    userInfo->setObject(HCNSNotificationInfoPresenceUser, user);
    userInfo->setObject(HCNSNotificationInfoPresence, presence);
    postOnMainInHalcyonNSNotification(HCNSNotificationFriendPresenceChanged, userInfo);
}

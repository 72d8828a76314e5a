#include "client/HCClientPresence.h"

#include "core/banners/HCNotification.h"
#include "core/halcyon/Halcyon.h"
#include "core/poller/HCResourcePollerReplyReader.h"
#include "core/users/HCUser.h"
#include "social/forums/HCForumPost.h"
#include "transport/provider/HCProvider.h"

HCPresenceHooks HCClientPresenceHooks()
{
    HCPresenceHooks hooks;
    hooks.accessToken = []() -> std::optional<OAuthToken> {
        auto provider = Halcyon::provider();
        if (!provider || !provider->isAuthenticated()) return std::nullopt;
        return provider->accessToken();
    };
    for (const char* name : {"HCUser", "HCForumPost"})
        if (auto resourceClass = HCPollerResourceClassNamed(name)) hooks.resourceClasses.push_back(*resourceClass);
    hooks.friendPresenceChanged = [](const platform::ObjectPtr& resource) {
        if (auto user = platform::as<HCUser>(resource))
            Halcyon::postFriendPresenceChanged(user, platform::Number::makeBool(user->online()));
    };
    hooks.postInMainThread = [](const platform::ObjectPtr& resource) {
        std::optional<std::string> text;
        int type = HCNotificationTypeNone;
        if (auto user = platform::as<HCUser>(resource); user && user->online() && !user->isLocalUser()) {
            text = user->name().value_or("A friend") + " is online";
            type = HCNotificationTypeUserPresenceOnline;
        } else if (auto post = platform::as<HCForumPost>(resource); post && post->isDiscussionConversation()) {
            auto author = post->author() ? post->author()->name() : std::nullopt;
            text = "New message from " + author.value_or("a friend");
            type = HCNotificationTypeNewMessage;
        }
        if (text)
            HCNotification::sharedInstance()->showBackgroundNotice(
                HCNotificationData::dataWithText(*text, HCNotificationCategoryPresence, type), std::nullopt);
    };
    return hooks;
}

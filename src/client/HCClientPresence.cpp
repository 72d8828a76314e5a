#include "client/HCClientPresence.h"

#include "core/banners/HCNotification.h"
#include "core/halcyon/Halcyon.h"
#include "core/poller/HCResourcePollerReplyReader.h"
#include "core/users/HCUser.h"
#include "socialpages/inbox/HCInboxNotice.h"
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
        if (auto notice = HCInboxNotice::noticeFor(resource))
            HCNotification::sharedInstance()->showBackgroundNotice(notice, std::nullopt);
    };
    return hooks;
}

#pragma once
// Records each "HCNSNotificationUserChanged" as "previous->current", by the
// players' ids ("nil" for no player), under the given observer.
#include <string>
#include <vector>

#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/users/HCUser.h"
#include "platform/foundation/NotificationCenter.h"

inline void recordUserChanges(const void* observer, std::vector<std::string>& into)
{
    platform::NotificationCenter::defaultCenter().addObserver(
        observer, HCNSNotificationUserChanged, [&into](const platform::Notification& n) {
            auto before = n.userInfo->get<HCUser>(HCNSNotificationInfoPreviousUser);
            auto after = n.userInfo->get<HCUser>(HCNSNotificationInfoCurrentUser);
            into.push_back((before ? before->resourceId().value_or("?") : "nil") + "->" +
                           (after ? after->resourceId().value_or("?") : "nil"));
        });
}

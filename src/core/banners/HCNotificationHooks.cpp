#include "core/banners/HCNotificationHooks.h"

#include <mutex>

namespace {

std::mutex& hooksMutex()
{
    static std::mutex mutex;
    return mutex;
}

HCNotificationHooks& hooks()
{
    static HCNotificationHooks installed;
    return installed;
}

}  // namespace

void HCNotificationHooks::install(HCNotificationHooks newHooks)
{
    std::lock_guard lock(hooksMutex());
    hooks() = std::move(newHooks);
}

HCNotificationHooks HCNotificationHooks::installed()
{
    std::lock_guard lock(hooksMutex());
    return hooks();
}

void HCNotificationHooks::callShowDefaultNotice()
{
    if (auto show = installed().showDefaultNotice) {
        show();
    }
}

void HCNotificationHooks::callShowServerNotification(const std::shared_ptr<HCServerNotification>& notification)
{
    if (auto show = installed().showServerNotification) {
        show(notification);
    }
}

void HCNotificationHooks::callShowBackgroundNotice(const HCBackgroundNotice& notice)
{
    if (auto show = installed().showBackgroundNotice) {
        show(notice);
    }
}

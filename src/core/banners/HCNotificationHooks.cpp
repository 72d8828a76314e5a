#include "core/banners/HCNotificationHooks.h"

#include "platform/runtime/Guarded.h"

namespace {

platform::Guarded<HCNotificationHooks>& slot()
{
    static platform::Guarded<HCNotificationHooks> hooks;
    return hooks;
}

}  // namespace

void HCNotificationHooks::install(HCNotificationHooks hooks)
{
    slot().set(std::move(hooks));
}

HCNotificationHooks HCNotificationHooks::installed()
{
    return slot().get();
}

#include "core/xp/HCXPClientHooks.h"

#include "platform/runtime/Guarded.h"

namespace {

platform::Guarded<HCXPClientHooks>& slot()
{
    static auto* hooks = new platform::Guarded<HCXPClientHooks>();
    return *hooks;
}

}  // namespace

void HCXPClientHooks::install(HCXPClientHooks hooks)
{
    slot().set(std::move(hooks));
}

HCXPClientHooks HCXPClientHooks::installed()
{
    return slot().get();
}

std::shared_ptr<HCSession> HCXPClientHooks::currentSession()
{
    auto hooks = installed();
    return hooks.session ? hooks.session() : nullptr;
}

std::string HCXPClientHooks::currentReleaseVersion()
{
    auto hooks = installed();
    return hooks.releaseVersionString ? hooks.releaseVersionString() : kDefaultReleaseVersion;
}

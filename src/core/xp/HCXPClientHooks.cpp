#include "core/xp/HCXPClientHooks.h"

#include "platform/runtime/Guarded.h"

namespace {

platform::Guarded<HCXPClientHooks>& slotInXPClientHooks()
{
    static auto* hooks = new platform::Guarded<HCXPClientHooks>();
    return *hooks;
}

}  // namespace

void HCXPClientHooks::install(HCXPClientHooks hooks)
{
    slotInXPClientHooks().set(std::move(hooks));
}

HCXPClientHooks HCXPClientHooks::installed()
{
    return slotInXPClientHooks().get();
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

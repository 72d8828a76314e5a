#include "gamepages/HCProfileOpener.h"

#include "platform/runtime/ThreadChecker.h"

namespace {

HCProfileOpener::Opener& opener()
{
    static HCProfileOpener::Opener installed;
    return installed;
}

}  // namespace

void HCProfileOpener::setOpener(Opener installed)
{
    HC_CHECK_MAIN_THREAD();
    opener() = std::move(installed);
}

void HCProfileOpener::showProfileForUser(const std::shared_ptr<HCUser>& user)
{
    HC_CHECK_MAIN_THREAD();
    if (opener() && user) opener()(user);
}

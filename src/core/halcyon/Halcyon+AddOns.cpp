// The add-on registry. Registration belongs before start-up: once start-up
// has begun, and until shut-down has told the add-ons to shut down, a
// registration is refused as a programming error, so the list never changes
// under a broadcast. Each broadcast walks a copy taken under the lock.
// Duplicates are kept: an add-on registered twice hears every event twice.
#include <mutex>

#include "core/halcyon/Halcyon.h"
#include "kernel/settings/HCSettingsAddOnHook.h"
#include "platform/foundation/ProgrammingError.h"

namespace {

struct Registry {
    std::mutex mutex;
    std::vector<std::shared_ptr<HCAddOn>> addOns;
    bool closed = false;
};

Registry& registry()
{
    static Registry r;
    return r;
}

std::vector<std::shared_ptr<HCAddOn>> registered()
{
    std::lock_guard lock(registry().mutex);
    return registry().addOns;
}

class SettingsHook final : public HCSettingsAddOnHook {
public:
    void setDefaultAddOnSettings(HCSettings& settings) override { Halcyon::setDefaultAddOnSettings(settings); }
    void loadAddOnSettings(HCSettings& settings, HCXmlReader& reader) override
    {
        Halcyon::loadAddOnSettings(settings, reader);
    }
};

}  // namespace

bool Halcyon::registerAddOn(std::shared_ptr<HCAddOn> addOn)
{
    if (!addOn) {
        return false;
    }
    std::lock_guard lock(registry().mutex);
    if (registry().closed) {
        platform::reportProgrammingError("Add-ons must be registered before Halcyon starts up; this one is ignored.");
        return false;
    }
    registry().addOns.push_back(std::move(addOn));
    return true;
}

void Halcyon::preInitializeAddOns(const std::shared_ptr<platform::Dictionary>& settings)
{
    {
        std::lock_guard lock(registry().mutex);
        registry().closed = true;
    }
    for (const auto& addOn : registered()) {
        platform::callOptional([&] { addOn->preInitializeAddOn(settings); });
    }
}

void Halcyon::initializeAddOns(const std::shared_ptr<platform::Dictionary>& settings)
{
    for (const auto& addOn : registered()) {
        addOn->initializeAddOn(settings);
    }
}

void Halcyon::shutdownAddOns()
{
    for (const auto& addOn : registered()) {
        addOn->shutdownAddOn();
    }
    std::lock_guard lock(registry().mutex);
    registry().closed = false;
}

void Halcyon::setDefaultAddOnSettings(HCSettings& settings)
{
    for (const auto& addOn : registered()) {
        addOn->defaultSettings(settings);
    }
}

void Halcyon::loadAddOnSettings(HCSettings& settings, HCXmlReader& reader)
{
    for (const auto& addOn : registered()) {
        addOn->loadSettings(settings, reader);
    }
}

bool Halcyon::allowAddOnsToRespondToPushNotification(const std::shared_ptr<platform::Dictionary>& notification,
                                                     bool duringApplicationLaunch)
{
    for (const auto& addOn : registered()) {
        if (addOn->respondToPushNotification(notification, duringApplicationLaunch)) {
            return true;
        }
    }
    return false;
}

void Halcyon::notifyAddOnsUserLoggedIn()
{
    for (const auto& addOn : registered()) {
        platform::callOptional([&] { addOn->userLoggedIn(); });
    }
}

void Halcyon::notifyAddOnsUserLoggedInPostIntro()
{
    for (const auto& addOn : registered()) {
        platform::callOptional([&] { addOn->userLoggedInPostIntro(); });
    }
}

void Halcyon::notifyAddOnsOfflineUserLoggedInPostIntro()
{
    for (const auto& addOn : registered()) {
        platform::callOptional([&] { addOn->offlineUserLoggedInPostIntro(); });
    }
}

void Halcyon::notifyAddOnsUserLoggedOut()
{
    for (const auto& addOn : registered()) {
        addOn->userLoggedOut();
    }
}

std::shared_ptr<HCSettingsAddOnHook> Halcyon::addOnSettingsHook()
{
    return std::make_shared<SettingsHook>();
}

void Halcyon::_resetAddOnsForTesting()
{
    std::lock_guard lock(registry().mutex);
    registry().addOns.clear();
    registry().closed = false;
}

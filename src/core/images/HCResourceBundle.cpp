#include "core/images/HCResourceBundle.h"

#include <mutex>

namespace {

constexpr const char* kBundleNames[] = {"HCResources_Universal", "HCResources_iPhone_Universal", "HCResources_iPad",
                                        "HCResources_iPhone_Portrait", "HCResources_iPhone_Landscape"};

std::shared_ptr<platform::Bundle> lookUp(const std::shared_ptr<platform::Bundle>& main)
{
    for (const char* name : kBundleNames) {
        if (auto path = main->pathForResource(name, "bundle")) {
            if (auto bundle = platform::Bundle::bundleWithPath(*path)) return bundle;
        }
    }
    return main;
}

}  // namespace

std::shared_ptr<platform::Bundle> HCResourceBundle::getResourceBundle()
{
    static std::mutex mutex;
    static std::shared_ptr<platform::Bundle> kept;
    static std::string keptFor;
    auto main = platform::Bundle::mainBundle();
    std::lock_guard lock(mutex);
    if (!kept || keptFor != main->bundlePath()) {
        kept = lookUp(main);
        keptFor = main->bundlePath();
    }
    return kept;
}

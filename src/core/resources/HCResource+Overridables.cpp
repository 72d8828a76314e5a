#include "core/resources/HCMissingOverride.h"
#include "core/resources/HCResource.h"
#include "core/resources/HCResourceClass.h"
#include "kernel/resources/HCResourceDataMap.h"

namespace {

constexpr const char* kSource = "HCResource+Overridables";

}  // namespace

std::shared_ptr<HCService> HCResource::getService() const
{
    HCReportMissingOverride(kSource, HCClassName(typeid(*this)), "getService");
    return nullptr;
}

std::string HCResource::getResourceName() const
{
    HCReportMissingOverride(kSource, HCClassName(typeid(*this)), "getResourceName");
    return std::string();
}

std::string HCResource::getResourceDiscoveredNotification() const
{
    HCReportMissingOverride(kSource, HCClassName(typeid(*this)), "getResourceDiscoveredNotification");
    return std::string();
}

const HCResourceDataMap& HCResource::getDataMap() const
{
    HCReportMissingOverride(kSource, HCClassName(typeid(*this)), "getDataMap");
    static const auto empty = std::make_shared<const HCResourceDataMap>();
    return *empty;
}

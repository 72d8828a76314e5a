#include "core/resources/HCMissingOverride.h"
#include "core/resources/HCResourceClass.h"
#include "core/services/HCService.h"
#include "platform/net/URLRequest.h"

namespace {

constexpr const char* kServiceOverridablesSource = "HCService+Overridables";

}  // namespace

void HCService::registerPolledResources(const std::shared_ptr<HCPoller>&) {}

std::shared_ptr<HCService> HCService::sharedInstance()
{
    HCReportMissingOverride(kServiceOverridablesSource, "HCService", "sharedInstance");
    return nullptr;
}

void HCService::populateKnownResources(HCResourceNameMap&)
{
    HCReportMissingOverride(kServiceOverridablesSource, HCClassName(typeid(*this)), "populateKnownResources");
}

std::size_t HCService::maxReplyBytes() const
{
    return platform::URLRequest::kDefaultMaxBodyBytes;
}

std::shared_ptr<HCRequestHandle> HCService::getIndexOnSuccess(const HCDelegate&, const HCDelegate&)
{
    HCReportMissingOverride(kServiceOverridablesSource, HCClassName(typeid(*this)), "getIndexOnSuccess");
    return nullptr;
}

std::shared_ptr<HCRequestHandle> HCService::getShowWithId(const std::optional<std::string>&, const HCDelegate&,
                                                          const HCDelegate&)
{
    HCReportMissingOverride(kServiceOverridablesSource, HCClassName(typeid(*this)), "getShowWithId");
    return nullptr;
}

#include "scores/offline/HCOfflineBootstrapSync.h"

#include "scores/offline/HCOffline.h"
#include "scores/offline/HCOfflineService.h"

void HCOfflineBootstrapSync::getBootstrapCallParams(HCHttpNestedQueryStringWriter& writer,
                                                    const std::optional<std::string>& userId)
{
    HCOfflineService::getBootstrapCallParams(writer, userId);
}

void HCOfflineBootstrapSync::syncOfflineData(const platform::ObjectPtr& offlineData,
                                             const std::shared_ptr<HCBootstrap>& bootstrap)
{
    HCOfflineService::syncOfflineData(platform::as<HCOffline>(offlineData), bootstrap);
}

void HCOfflineBootstrapSync::shareKnownResources(HCResourceNameMap& map)
{
    HCOfflineService::shareKnownResources(map);
}

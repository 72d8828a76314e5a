#include "core/users/HCUserService.h"

#include "core/halcyon/Halcyon.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/services/HCServicePath.h"
#include "core/users/HCUser.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/offline/HCUserService+Private.h"
#include "transport/provider/HCActionRequest.h"

namespace {

}  // namespace

HCRequestHandlePtr HCUserService::getUser(const std::optional<std::string>& userId, const HCDelegate& onSuccess,
                                          const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto service = sharedInstance();
    if (!service) return nullptr;
    const auto local = Halcyon::localUser();
    if (!local) {
        onFailure.invokeNow(nullptr);
        return nullptr;
    }
    if (!userId || userId->empty() || userId == local->resourceId()) {
        onSuccess.invokeNow(HCPaginatedSeries::paginatedSeriesWithObject(local));
        return nullptr;
    }
    if (!Halcyon::isOnline()) {
        // The callers read a series, as from a reply.
        if (auto stored = HCUserServicePrivate::getLocalUser(userId)) {
            onSuccess.invokeNow(HCPaginatedSeries::paginatedSeriesWithObject(stored));
        } else {
            onFailure.invokeNow(nullptr);
        }
        return nullptr;
    }
    auto path = HCServicePath::format("users/%@/", {userId});
    if (!HCServicePath::serviceFor<HCUserService>(path, onFailure)) return nullptr;
    return service->getAction(*path, nullptr, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

HCRequestHandlePtr HCUserService::findUsersForLocalDevice(const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto service = sharedInstance();
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("udid", platform::DeviceFacts::uniqueIdentifier());
    return service->getAction("users/for_device.xml", &parameters, onSuccess, onFailure, HCActionRequest::kSilent,
                              nullptr, false);
}

HCRequestHandlePtr HCUserService::findUsersByName(const std::string& name, int32_t page, const HCDelegate& onSuccess,
                                                  const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto service = sharedInstance();
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("name", name);
    parameters.io("page", page);
    return service->getAction("users.xml", &parameters, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

HCRequestHandlePtr HCUserService::getEmailForUser(const std::optional<std::string>& userId,
                                                  const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    const auto path = userId ? HCServicePath::format("http_basic_credentials/%@.xml", {userId})
                             : std::optional<std::string>("http_basic_credentials/@me.xml");
    auto service = HCServicePath::serviceFor<HCUserService>(path, onFailure);
    if (!service) return nullptr;
    return service->getAction(*path, nullptr, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

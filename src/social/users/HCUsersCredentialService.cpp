#include "social/users/HCUsersCredentialService.h"

#include "core/banners/HCNotificationData.h"
#include "core/resources/HCResourceClass.h"
#include "core/services/HCServicePath.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/users/HCUsersCredential.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCUsersCredentialService> sUsersCredentialService;

constexpr double kJpegQuality = 0.7;

std::shared_ptr<HCUsersCredentialService> runningInUsersCredentialService()
{
    HC_CHECK_MAIN_THREAD();
    return sUsersCredentialService;
}

}  // namespace

void HCUsersCredentialService::initializeService()
{
    if (!sUsersCredentialService) sUsersCredentialService = HCService::create<HCUsersCredentialService>();
}

void HCUsersCredentialService::shutdownService()
{
    sUsersCredentialService = nullptr;
}

std::shared_ptr<HCUsersCredentialService> HCUsersCredentialService::sharedInstance()
{
    return sUsersCredentialService;
}

void HCUsersCredentialService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCUsersCredential>(map);
}

HCRequestHandlePtr HCUsersCredentialService::getIndexOnSuccess(const HCDelegate& onSuccess,
                                                               const HCDelegate& onFailure,
                                                               bool onlyIncludeLinkedCredentials)
{
    auto service = runningInUsersCredentialService();
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("only_include_linked_credentials", onlyIncludeLinkedCredentials);
    parameters.io("user_id", std::string("me"));
    return service->getAction("users_credentials", &parameters, onSuccess, onFailure, HCActionRequest::kSilent,
                              nullptr);
}

HCRequestHandlePtr HCUsersCredentialService::getIndexOnSuccess(const HCDelegate& onSuccess,
                                                               const HCDelegate& onFailure,
                                                               bool onlyIncludeNotLinkedCredentials,
                                                               bool onlyIncludeFriendsCredentials)
{
    auto service = runningInUsersCredentialService();
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("only_include_not_linked_credentials", onlyIncludeNotLinkedCredentials);
    parameters.io("only_include_friends_credentials", onlyIncludeFriendsCredentials);
    parameters.io("user_id", std::string("me"));
    return service->getAction("users_credentials", &parameters, onSuccess, onFailure, HCActionRequest::kBannerAlternate,
                              HCNotificationData::foreGroundDataWithText("Downloaded"));
}

HCRequestHandlePtr HCUsersCredentialService::importFriendsFromCredentialType(const std::string& credentialType,
                                                                             const HCDelegate& onSuccess,
                                                                             const HCDelegate& onFailure)
{
    auto service = runningInUsersCredentialService();
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("credential_name", credentialType);
    parameters.io("user_id", std::string("me"));
    return service->getAction("users_credentials/import_friends", &parameters, onSuccess, onFailure,
                              HCActionRequest::kSilent, nullptr);
}

HCRequestHandlePtr HCUsersCredentialService::getProfilePictureCredentialsForLocalUser(const HCDelegate& onSuccess,
                                                                                      const HCDelegate& onFailure)
{
    auto service = runningInUsersCredentialService();
    if (!service) return nullptr;
    return service->getAction("profile_picture", nullptr, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

HCRequestHandlePtr HCUsersCredentialService::requestProfilePictureUpdateForLocalUser(const HCDelegate& onSuccess,
                                                                                     const HCDelegate& onFailure)
{
    auto service = runningInUsersCredentialService();
    if (!service) return nullptr;
    return service->postAction("profile_picture/refresh", nullptr, onSuccess, onFailure, HCActionRequest::kSilent,
                               nullptr);
}

HCRequestHandlePtr HCUsersCredentialService::selectProfilePictureSourceForLocalUser(const Text& credentialType,
                                                                                    const HCDelegate& onSuccess,
                                                                                    const HCDelegate& onFailure)
{
    const Text type = credentialType && !credentialType->empty() ? credentialType : Text("http_basic");
    auto path = HCServicePath::format("profile_picture/select/%@", {type});
    auto service = HCServicePath::serviceFor<HCUsersCredentialService>(path, onFailure);
    if (!service) return nullptr;
    return service->postAction(*path, nullptr, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

HCRequestHandlePtr HCUsersCredentialService::uploadProfilePictureLocalUser(const platform::ui::ImagePtr& image,
                                                                           const HCDelegate& onSuccess,
                                                                           const HCDelegate& onFailure)
{
    auto service = runningInUsersCredentialService();
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    if (!image) {
        parameters.io("uploaded_profile_picture", std::string());
    } else {
        // A picture that failed to encode must not pass for the default icon.
        auto jpeg = platform::ui::JPEGRepresentation(image, kJpegQuality);
        if (!jpeg || jpeg->bytes().empty()) return HCServicePath::refuse(onFailure);
        parameters.ioBlob("uploaded_profile_picture", jpeg->bytes(), "jpg");
    }
    return service->postAction("profile_picture/select/http_basic", &parameters, onSuccess, onFailure,
                               HCActionRequest::kSilent, nullptr);
}

#pragma once
// The logins of the local player's account: listing them, importing friends
// from a linked network, and choosing where the profile picture comes from
// (a linked network's, or an uploaded one).
//
// Every call is silent and needs a logged-in session; success gets the
// reply's series of HCUsersCredential (elements of any other name are
// dropped), failure what the provider reports. While the service is not
// running a call answers nil and calls nothing back.
//
// Thread: calls on the main thread; replies are read on the provider's
// request thread and delivered on the callbacks' thread.
#include <memory>
#include <optional>
#include <string>

#include "core/services/HCService.h"
#include "platform/ui/Image.h"

class HCUsersCredentialService final : public HCService {
public:
    using Text = std::optional<std::string>;

    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCUsersCredentialService> sharedInstance();

    // GET "users_credentials": "only_include_linked_credentials", "user_id" "me".
    static HCRequestHandlePtr getIndexOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure,
                                                bool onlyIncludeLinkedCredentials);
    // GET "users_credentials" with a "Downloaded" banner:
    // "only_include_not_linked_credentials", "only_include_friends_credentials", "user_id" "me".
    static HCRequestHandlePtr getIndexOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure,
                                                bool onlyIncludeNotLinkedCredentials,
                                                bool onlyIncludeFriendsCredentials);
    // GET "users_credentials/import_friends": "credential_name", "user_id" "me".
    static HCRequestHandlePtr importFriendsFromCredentialType(const std::string& credentialType,
                                                              const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // GET "profile_picture": the credentials that can supply the picture.
    static HCRequestHandlePtr getProfilePictureCredentialsForLocalUser(const HCDelegate& onSuccess,
                                                                       const HCDelegate& onFailure);
    // POST "profile_picture/refresh".
    static HCRequestHandlePtr requestProfilePictureUpdateForLocalUser(const HCDelegate& onSuccess,
                                                                      const HCDelegate& onFailure);
    // POST "profile_picture/select/%@": the type, "http_basic" for nil or "".
    static HCRequestHandlePtr selectProfilePictureSourceForLocalUser(const Text& credentialType,
                                                                     const HCDelegate& onSuccess,
                                                                     const HCDelegate& onFailure);
    // POST "profile_picture/select/http_basic" with the image as a JPEG
    // (quality 0.7) file part "uploaded_profile_picture". A nil image sends
    // the empty text instead: the player drops their own picture for the
    // default icon. An image that cannot be encoded fails at once: nothing is
    // posted.
    static HCRequestHandlePtr uploadProfilePictureLocalUser(const platform::ui::ImagePtr& image,
                                                            const HCDelegate& onSuccess, const HCDelegate& onFailure);

    void populateKnownResources(HCResourceNameMap& map) override;
};

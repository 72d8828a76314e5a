#pragma once
// One login linked to (or offered for) the local player's account:
// "twitter", "fbconnect" or "http_basic", and the picture it can supply.
// Read from replies only; never written back.
//
// Thread: built on the thread that reads its reply, then used by one thread
// at a time; no lock.
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"

class HCUsersCredential final : public HCResource {
public:
    using Text = std::optional<std::string>;

    // "Twitter", "Facebook" or "Email & Password" for the exact type; nil
    // for any other (case matters).
    static Text getDisplayNameForCredentialType(const Text& credentialType);

    std::string getResourceName() const override { return "users_credential"; }
    std::string getResourceDiscoveredNotification() const override { return "halcyon_users_credential_discovered"; }
    const HCResourceDataMap& getDataMap() const override;
    std::shared_ptr<HCService> getService() const override;

    const Text& credentialType() const { return credentialType_; }
    const Text& credentialProfilePictureUrl() const { return credentialProfilePictureUrl_; }
    const Text& profilePictureUpdatedAt() const { return profilePictureUpdatedAt_; }
    bool hasGlobalPermissions() const { return hasGlobalPermissions_; }
    bool isLinked() const { return isLinked_; }
    bool isFacebook() const { return credentialType_ == "fbconnect"; }
    bool isTwitter() const { return credentialType_ == "twitter"; }
    bool isHttpBasic() const { return credentialType_ == "http_basic"; }

    // Data-map setters (element texts). Global permissions need the exact
    // text "true"; "is_linked" takes the usual boolean reading.
    void setCredentialType(const Text& text) { credentialType_ = text; }
    void setCredentialProfilePictureUrl(const Text& text) { credentialProfilePictureUrl_ = text; }
    void setProfilePictureUpdatedAt(const Text& text) { profilePictureUpdatedAt_ = text; }
    void setHasGlobalPermissions(const Text& text) { hasGlobalPermissions_ = text == "true"; }
    void setIsLinked(const Text& text);

private:
    Text credentialType_;
    Text credentialProfilePictureUrl_;
    Text profilePictureUpdatedAt_;
    bool hasGlobalPermissions_ = false;
    bool isLinked_ = false;
};

using HCUsersCredentialPtr = std::shared_ptr<HCUsersCredential>;

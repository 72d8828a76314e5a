#include "social/users/HCUsersCredential.h"

#include "core/resources/HCResourceText.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "social/users/HCUsersCredentialService.h"

HCUsersCredential::Text HCUsersCredential::getDisplayNameForCredentialType(const Text& credentialType)
{
    static const std::pair<const char*, const char*> kKnownCredentials[] = {
        {"twitter", "Twitter"}, {"fbconnect", "Facebook"}, {"http_basic", "Email & Password"}};
    for (const auto& [type, displayName] : kKnownCredentials)
        if (credentialType == type) return displayName;
    return std::nullopt;
}

const HCResourceDataMap& HCUsersCredential::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("credential_type", &HCUsersCredential::setCredentialType);
        m->addField("profile_picture_url", &HCUsersCredential::setCredentialProfilePictureUrl);
        m->addField("profile_picture_updated_at", &HCUsersCredential::setProfilePictureUpdatedAt);
        m->addField("has_global_permissions", &HCUsersCredential::setHasGlobalPermissions);
        m->addField("is_linked", &HCUsersCredential::setIsLinked);
        return m;
    }();
    return *map;
}

std::shared_ptr<HCService> HCUsersCredential::getService() const
{
    return HCUsersCredentialService::sharedInstance();
}

void HCUsersCredential::setIsLinked(const Text& text)
{
    isLinked_ = HCResourceText::readBool(text);
}

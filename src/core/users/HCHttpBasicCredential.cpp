#include "core/users/HCHttpBasicCredential.h"

#include "core/resources/HCResourceText.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "platform/foundation/KeyedArchiver.h"
#include "platform/foundation/KeyedUnarchiver.h"
#include "platform/foundation/TextConversions.h"
#include "platform/runtime/ClassRegistry.h"

namespace {

[[maybe_unused]] const bool httpBasicCredentialRegistered = [] {
    platform::registerCodingClass<HCHttpBasicCredential>("HCHttpBasicCredential");
    return true;
}();

}  // namespace

using HCResourceText::boxed;

const HCResourceDataMap& HCHttpBasicCredential::getDataMap() const
{
    using C = HCHttpBasicCredential;
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("user_id", &C::setUserId, &C::userId);
        m->addField("email", &C::setEmail, &C::email);
        m->addField("crypted_password", &C::setCryptedPassword, &C::cryptedPassword);
        m->addField("salt", &C::setSalt, &C::salt);
        m->addField("remember_token", &C::setRememberTokenAsString, &C::getRememberTokenAsString);
        m->addField("verified", &C::setVerifiedAsString, &C::getVerifiedAsString);
        m->addField("remember_token_expires_at", &C::setRememberTokenExpiresAt, &C::rememberTokenExpiresAt);
        m->addField("created_at", &C::setCreatedAt, &C::createdAt);
        m->addField("updated_at", &C::setUpdatedAt, &C::updatedAt);
        m->addField("last_login_at", &C::setLastLoginAt, &C::lastLoginAt);
        return m;
    }();
    return *map;
}

void HCHttpBasicCredential::setRememberTokenAsString(const Text& text)
{
    rememberToken_ = HCResourceText::readBool(text);
}

void HCHttpBasicCredential::setVerifiedAsString(const Text& text)
{
    verified_ = HCResourceText::readBool(text);
}

void HCHttpBasicCredential::encodeWithCoder(platform::KeyedArchiver& coder) const
{
    coder.encodeObject("resourceId", boxed(resourceId()));
    coder.encodeObject("userId", boxed(userId_));
    coder.encodeObject("email", boxed(email_));
    coder.encodeObject("cryptedPassword", boxed(cryptedPassword_));
    coder.encodeObject("salt", boxed(salt_));
    coder.encodeBool("rememberToken", rememberToken_);
    coder.encodeBool("verified", verified_);
    coder.encodeObject("rememberTokenExpiresAt", boxed(rememberTokenExpiresAt_));
    coder.encodeObject("createdAt", boxed(createdAt_));
    coder.encodeObject("updatedAt", boxed(updatedAt_));
    coder.encodeObject("lastLoginAt", boxed(lastLoginAt_));
}

void HCHttpBasicCredential::initWithCoder(const platform::KeyedUnarchiver& coder)
{
    setResourceId(platform::textOf(coder.decodeObjectForKey("resourceId")));
    userId_ = platform::textOf(coder.decodeObjectForKey("userId"));
    email_ = platform::textOf(coder.decodeObjectForKey("email"));
    cryptedPassword_ = platform::textOf(coder.decodeObjectForKey("cryptedPassword"));
    salt_ = platform::textOf(coder.decodeObjectForKey("salt"));
    rememberToken_ = coder.decodeBoolForKey("rememberToken");
    verified_ = coder.decodeBoolForKey("verified");
    rememberTokenExpiresAt_ = platform::textOf(coder.decodeObjectForKey("rememberTokenExpiresAt"));
    createdAt_ = platform::textOf(coder.decodeObjectForKey("createdAt"));
    updatedAt_ = platform::textOf(coder.decodeObjectForKey("updatedAt"));
    lastLoginAt_ = platform::textOf(coder.decodeObjectForKey("lastLoginAt"));
}

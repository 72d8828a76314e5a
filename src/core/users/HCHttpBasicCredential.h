#pragma once
// The e-mail and password login of an account, as the service describes it
// ("http_basic_credential"). Written back through its data map and kept, by
// whoever stores one, in its keyed archive.
//
// Thread: built on the thread that reads its reply, then used by one thread
// at a time; no lock.
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"
#include "platform/foundation/Coding.h"

class HCHttpBasicCredential final : public HCResource, public platform::Coding {
public:
    using Text = std::optional<std::string>;

    std::string getResourceName() const override { return "http_basic_credential"; }
    std::string getResourceDiscoveredNotification() const override { return std::string(); }
    const HCResourceDataMap& getDataMap() const override;

    std::string classNameForCoding() const override { return "HCHttpBasicCredential"; }
    void encodeWithCoder(platform::KeyedArchiver& coder) const override;
    void initWithCoder(const platform::KeyedUnarchiver& coder) override;

    const Text& userId() const { return userId_; }
    const Text& email() const { return email_; }
    const Text& cryptedPassword() const { return cryptedPassword_; }
    const Text& salt() const { return salt_; }
    bool rememberToken() const { return rememberToken_; }
    void setRememberToken(bool value) { rememberToken_ = value; }
    const Text& rememberTokenExpiresAt() const { return rememberTokenExpiresAt_; }
    const Text& createdAt() const { return createdAt_; }
    const Text& updatedAt() const { return updatedAt_; }
    bool verified() const { return verified_; }
    void setVerified(bool value) { verified_ = value; }
    const Text& lastLoginAt() const { return lastLoginAt_; }

    // Data-map setters (element texts) and the two flags' written form ("0"/"1").
    void setUserId(const Text& text) { userId_ = text; }
    void setEmail(const Text& text) { email_ = text; }
    void setCryptedPassword(const Text& text) { cryptedPassword_ = text; }
    void setSalt(const Text& text) { salt_ = text; }
    void setRememberTokenAsString(const Text& text);
    void setVerifiedAsString(const Text& text);
    void setRememberTokenExpiresAt(const Text& text) { rememberTokenExpiresAt_ = text; }
    void setCreatedAt(const Text& text) { createdAt_ = text; }
    void setUpdatedAt(const Text& text) { updatedAt_ = text; }
    void setLastLoginAt(const Text& text) { lastLoginAt_ = text; }
    std::string getRememberTokenAsString() const { return rememberToken_ ? "1" : "0"; }
    std::string getVerifiedAsString() const { return verified_ ? "1" : "0"; }

private:
    Text userId_;
    Text email_;
    Text cryptedPassword_;
    Text salt_;
    bool rememberToken_ = false;
    Text rememberTokenExpiresAt_;
    Text createdAt_;
    Text updatedAt_;
    bool verified_ = false;
    Text lastLoginAt_;
};

using HCHttpBasicCredentialPtr = std::shared_ptr<HCHttpBasicCredential>;

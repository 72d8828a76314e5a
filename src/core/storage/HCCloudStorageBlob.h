#pragma once
// One entry of the player's cloud store index ("cloud_store"): whose blob
// it is and its key.
//
// Thread: built where its reply is read (the provider's request thread),
// then handed on whole; one thread uses it at a time.
#include <string>

#include "core/resources/HCResource.h"

class HCCloudStorageBlob final : public HCResource {
public:
    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "cloud_store"; }
    std::string getResourceDiscoveredNotification() const override { return "halcyon_cloud_storage_blob_discovered"; }
    const HCResourceDataMap& getDataMap() const override;

    const std::string& userId() const { return userId_; }
    const std::string& keyStr() const { return keyStr_; }
    void setUserId(const std::string& userId) { userId_ = userId; }
    void setKeyStr(const std::string& keyStr) { keyStr_ = keyStr; }

private:
    std::string userId_;
    std::string keyStr_;
};

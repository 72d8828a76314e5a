#include "core/storage/HCCloudStorageBlob.h"

#include "core/storage/HCCloudStorageService.h"
#include "kernel/resources/HCResourceDataMap.h"

std::shared_ptr<HCService> HCCloudStorageBlob::getService() const
{
    return HCCloudStorageService::sharedInstance();
}

const HCResourceDataMap& HCCloudStorageBlob::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("user_id", &HCCloudStorageBlob::setUserId);
        m->addField("key", &HCCloudStorageBlob::setKeyStr);
        return m;
    }();
    return *map;
}

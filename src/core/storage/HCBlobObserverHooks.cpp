#include "core/storage/HCBlobObserverHooks.h"

#include "core/storage/HCCompressableData.h"
#include "core/storage/HCS3Response.h"
#include "kernel/http/HCBlobDownloadObserver.h"

void HCBlobObserverHooks::install()
{
    HCBlobDownloadObserver::setUncompressHook(&HCCompressableData::uncompressedDataFromSerializedData);
    HCBlobDownloadObserver::setS3ResponseHook(
        [](const std::shared_ptr<platform::Data>& data, const platform::ObjectPtr& userData, int statusCode) {
            return std::make_shared<HCS3Response>(data, userData, statusCode);
        });
}

void HCBlobObserverHooks::remove()
{
    HCBlobDownloadObserver::setUncompressHook(nullptr);
    HCBlobDownloadObserver::setS3ResponseHook(nullptr);
}

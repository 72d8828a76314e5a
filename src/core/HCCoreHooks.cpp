#include "core/HCCoreHooks.h"

#include "core/poller/HCResourcePollerReplyReader.h"
#include "core/storage/HCCompressableData.h"
#include "core/storage/HCS3Response.h"
#include "kernel/http/HCBlobDownloadObserver.h"
#include "transport/poller/HCPoller.h"

void HCCoreHooks::install()
{
    HCPoller::setReplyReader(std::make_shared<HCResourcePollerReplyReader>());
    HCBlobDownloadObserver::setUncompressHook(&HCCompressableData::uncompressedDataFromSerializedData);
    HCBlobDownloadObserver::setS3ResponseHook(
        [](const std::shared_ptr<platform::Data>& data, const platform::ObjectPtr& userData, int statusCode) {
            return std::make_shared<HCS3Response>(data, userData, statusCode);
        });
}

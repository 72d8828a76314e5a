#include "social/cloudstorage/HCCloudStorage.h"

#include "core/publicclass/HCClassDelegate.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/storage/HCCloudStorageBlob.h"
#include "core/storage/HCCloudStorageService.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/cloudstorage/HCCloudStorageDelegate.h"

namespace {

HCClassDelegate<HCCloudStorageDelegate> sCloudStorageDelegate(HCCloudStorage::kModule);

// The status code a failure callback received; 0 when it carried none.
int32_t statusCodeOf(const platform::ObjectPtr& status)
{
    auto object = platform::as<HCCloudStorageStatus_Object>(status);
    return object ? object->getStatusCode() : 0;
}

}  // namespace

void HCCloudStorage::setDelegate(HCCloudStorageDelegate* delegate)
{
    HC_CHECK_MAIN_THREAD();
    sCloudStorageDelegate.set(delegate);
}

HCCloudStorageDelegate* HCCloudStorage::delegate()
{
    return sCloudStorageDelegate.get();
}

HCRequestHandlePtr HCCloudStorage::upload(const std::shared_ptr<platform::Data>& data, const std::string& key)
{
    HC_CHECK_MAIN_THREAD();
    auto callbacks = sCloudStorageDelegate.callbacksWithFailureObject(
        nullptr, [](auto started, const platform::ObjectPtr&) { _uploadSuccess(started); }, &HCCloudStorage::_uploadFail);
    return sCloudStorageDelegate.track(HCCloudStorageService::uploadBlob(data, key, callbacks.success, callbacks.failure));
}

HCRequestHandlePtr HCCloudStorage::downloadDataWithKey(const std::string& key)
{
    HC_CHECK_MAIN_THREAD();
    auto callbacks = sCloudStorageDelegate.callbacksWithFailureObject(nullptr, &HCCloudStorage::_downloadSuccess,
                                                          &HCCloudStorage::_downloadFail);
    return sCloudStorageDelegate.track(HCCloudStorageService::downloadBlobWithKey(key, callbacks.success, callbacks.failure));
}

HCRequestHandlePtr HCCloudStorage::downloadKeysForCurrentUser()
{
    HC_CHECK_MAIN_THREAD();
    auto service = HCCloudStorageService::sharedInstance();
    if (!service) {
        return nullptr;
    }
    auto callbacks = sCloudStorageDelegate.callbacks(nullptr, &HCCloudStorage::_downloadKeysForCurrentUserSuccess,
                                         &HCCloudStorage::_downloadKeysForCurrentUserFail);
    return sCloudStorageDelegate.track(service->getIndexOnSuccess(callbacks.success, callbacks.failure));
}

void HCCloudStorage::_uploadSuccess(uint64_t started)
{
    HC_CHECK_MAIN_THREAD();
    sCloudStorageDelegate.notify(started, [](HCCloudStorageDelegate& delegate) { delegate.didUpload(); });
}

void HCCloudStorage::_uploadFail(uint64_t started, const platform::ObjectPtr& status)
{
    HC_CHECK_MAIN_THREAD();
    const int32_t code = statusCodeOf(status);
    sCloudStorageDelegate.notify(started, [code](HCCloudStorageDelegate& delegate) { delegate.didFailUpload(code); });
}

void HCCloudStorage::_downloadSuccess(uint64_t started, const platform::ObjectPtr& data)
{
    HC_CHECK_MAIN_THREAD();
    auto bytes = platform::as<platform::Data>(data);
    sCloudStorageDelegate.notify(started, [&](HCCloudStorageDelegate& delegate) { delegate.didDownloadData(bytes); });
}

void HCCloudStorage::_downloadFail(uint64_t started, const platform::ObjectPtr& status)
{
    HC_CHECK_MAIN_THREAD();
    const int32_t code = statusCodeOf(status);
    sCloudStorageDelegate.notify(started, [code](HCCloudStorageDelegate& delegate) { delegate.didFailDownloadData(code); });
}

void HCCloudStorage::_downloadKeysForCurrentUserSuccess(uint64_t started, const platform::ObjectPtr& reply)
{
    HC_CHECK_MAIN_THREAD();
    auto series = platform::as<HCPaginatedSeries>(reply);
    std::vector<std::string> keys;
    for (size_t i = 0; series && i < series->count(); ++i) {
        if (auto entry = platform::as<HCCloudStorageBlob>(series->objectAtIndex(i))) {
            keys.push_back(entry->keyStr());
        }
    }
    if (keys.empty()) {
        _downloadKeysForCurrentUserFail(started);
        return;
    }
    sCloudStorageDelegate.notify(started, [&](HCCloudStorageDelegate& delegate) { delegate.didDownloadKeysForCurrentUser(keys); });
}

void HCCloudStorage::_downloadKeysForCurrentUserFail(uint64_t started)
{
    HC_CHECK_MAIN_THREAD();
    sCloudStorageDelegate.notify(started, [](HCCloudStorageDelegate& delegate) { delegate.didFailDownloadKeysForCurrentUser(); });
}

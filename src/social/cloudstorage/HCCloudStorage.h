#pragma once
// The game's face of the cloud store: blobs under keys for the current
// player. Each operation starts one request and answers its handle (nil when
// nothing was started); the outcome goes to the class's one delegate.
//
// A call the store refuses before any request (a bad key, no data, a stored
// form over the limit) reports its failure with the status code to the
// delegate before it returns, and answers nil. Clearing the
// delegate (setDelegate(nullptr)) cancels the class's requests; an answer
// already on its way is dropped.
//
// Thread: main.
#include <memory>
#include <string>

#include "platform/foundation/Values.h"
#include "transport/handles/HCRequestHandle.h"

class HCCloudStorageDelegate;

class HCCloudStorage final {
public:
    // The module under which the class registers its request handles.
    static constexpr const char* kModule = "HCCloudStorage";

    static void setDelegate(HCCloudStorageDelegate* delegate);
    static HCCloudStorageDelegate* delegate();

    // didUpload, or didFailUpload(status).
    static HCRequestHandlePtr upload(const std::shared_ptr<platform::Data>& data, const std::string& key);
    // didDownloadData(bytes), or didFailDownloadData(status).
    static HCRequestHandlePtr downloadDataWithKey(const std::string& key);
    // didDownloadKeysForCurrentUser(keys), or didFailDownloadKeysForCurrentUser
    // (also for a player with no blobs).
    static HCRequestHandlePtr downloadKeysForCurrentUser();

private:
    static void _uploadSuccess(uint64_t started);
    static void _uploadFail(uint64_t started, const platform::ObjectPtr& status);
    static void _downloadSuccess(uint64_t started, const platform::ObjectPtr& data);
    static void _downloadFail(uint64_t started, const platform::ObjectPtr& status);
    static void _downloadKeysForCurrentUserSuccess(uint64_t started, const platform::ObjectPtr& series);
    static void _downloadKeysForCurrentUserFail(uint64_t started);
};

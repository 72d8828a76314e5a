#pragma once
// The cloud store of small blobs under keys for the current player, and the
// storage road on which score blobs travel to and from the storage host.
//
// Key-value store (signed requests below the service root):
//   uploadBlob           POST "cloud_stores": "key", then "blob" (the stored
//                        form, a file part). Refused at once, with a status
//                        object to the failure callback and a nil handle:
//                        a nil blob (406), a stored form over kStorageLimit
//                        bytes (507, tested before the key), a bad key (406).
//   downloadBlobWithKey  GET "cloud_stores/<key>.blob"; the body is read as a
//                        stored form whatever the switches say; bytes that
//                        do not decode fail with 406.
//   getIndexOnSuccess    GET "cloud_stores.xml": HCCloudStorageBlob entries.
// Failures of a request become status objects (statusForFailedRequest).
//
// Storage road (plain HTTP to absolute URLs on the service's own HTTP
// service): uploadS3Blob posts the multipart body of HCS3UploadParameters,
// downloadS3Blob gets a URL; both answer HCS3Response objects (2xx success,
// anything else failure with nil data). These need the blob observer's hooks
// that the client's start-up installs (HCClientHooks).
//
// Switches, set once at start-up from the game's settings and never back:
// disableCompression (blobs travel as given; what carries the header is
// still decoded), enableVeboseCompression (logs the ratio of legacy
// compression), useLegacyHeaderlessCompression (the storage road sends and
// expects bare zlib streams; the key-value store keeps the stored form).
//
// Without initializeService (or with no provider) the calls start nothing,
// call nothing back and answer nil.
//
// Thread: main. The class methods run on the main thread, and so do the
// handlers of downloads and failures (inflation of downloaded blobs runs
// there); compression runs on the caller's thread. Callbacks are delivered
// by their HCDelegates on the next turn of their thread, never inside the
// call that refused.
#include <atomic>
#include <memory>
#include <string>

#include "core/services/HCService.h"
#include "core/storage/HCCloudStorageStatus.h"
#include "platform/foundation/Values.h"

class HCHttpService;
class HCS3Response;
class HCS3UploadParameters;

class HCCloudStorageService final : public HCService {
public:
    using DataPtr = std::shared_ptr<platform::Data>;
    using StatusPtr = std::shared_ptr<HCCloudStorageStatus_Object>;

    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCCloudStorageService> sharedInstance();

    HCCloudStorageService();
    ~HCCloudStorageService() override;

    // --- Key-value store ----------------------------------------------------
    // Success receives the reply's HCPaginatedSeries, failure a status object.
    static std::shared_ptr<HCRequestHandle> uploadBlob(const DataPtr& blob, const std::string& key,
                                                       const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // Success receives the blob's bytes (platform::Data), failure a status object.
    static std::shared_ptr<HCRequestHandle> downloadBlobWithKey(const std::string& key, const HCDelegate& onSuccess,
                                                                const HCDelegate& onFailure);
    // Success receives the series of HCCloudStorageBlob, failure what the
    // provider gives.
    std::shared_ptr<HCRequestHandle> getIndexOnSuccess(const HCDelegate& onSuccess,
                                                       const HCDelegate& onFailure) override;
    // At least one character; an ASCII letter first, then ASCII letters,
    // digits, "_" and "-" only.
    static bool keyIsValid(const std::string& key);

    // --- Storage road -------------------------------------------------------
    // Nothing at all (no request, no callback) for nil parameters, an empty
    // action or a nil blob. An empty blob goes up as an empty file; a
    // non-empty one whose compression gives nothing fails with status 0
    // before anything is sent.
    static void uploadS3Blob(const DataPtr& blob, const std::shared_ptr<HCS3UploadParameters>& parameters,
                             const platform::ObjectPtr& passThroughUserData, const HCDelegate& onSuccess,
                             const HCDelegate& onFailure);
    static void uploadS3Blob(const DataPtr& blob, const std::shared_ptr<HCS3UploadParameters>& parameters,
                             const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // A body that does not decode fails (nil data, the reply's status); an
    // empty body is an empty blob.
    static std::shared_ptr<HCRequestHandle> downloadS3Blob(const std::string& url,
                                                           const platform::ObjectPtr& passThroughUserData,
                                                           const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static std::shared_ptr<HCRequestHandle> downloadS3Blob(const std::string& url, const HCDelegate& onSuccess,
                                                           const HCDelegate& onFailure);
    // The storage road's form: the stored form, or with the legacy switch a
    // bare zlib stream. Nil for nil or empty and when zlib fails.
    static DataPtr compressBlob(const DataPtr& blob);
    // The inverse; nil for nil or empty and for bytes that do not decode.
    static DataPtr uncompressBlob(const DataPtr& data);
    // The upload once the blob is in its travelling form: a nil blob (its
    // compression failed) fails at once with status 0.
    void _uploadPreparedS3Blob(const DataPtr& preparedBlob, const HCS3UploadParameters& parameters,
                               const platform::ObjectPtr& passThroughUserData, const HCDelegate& onSuccess,
                               const HCDelegate& onFailure);

    // --- Switches -----------------------------------------------------------
    void disableCompression() { useCompression_ = false; }
    bool isCompressionEnabled() const { return useCompression_; }
    void enableVeboseCompression() { verboseCompression_ = true; }
    bool isVerboseCompressionEnabled() const { return verboseCompression_; }
    void useLegacyHeaderlessCompression() { useLegacyHeaderlessCompression_ = true; }
    bool isUsingLegacyHeaderlessCompression() const { return useLegacyHeaderlessCompression_; }

    // --- Status objects -------------------------------------------------------
    const StatusPtr& getStatusObject_Ok() const { return statusOk_; }
    const StatusPtr& getStatusObject_NotAcceptable() const { return statusNotAcceptable_; }
    const StatusPtr& getStatusObject_NotFound() const { return statusNotFound_; }
    const StatusPtr& getStatusObject_GatewayTimeout() const { return statusGatewayTimeout_; }
    const StatusPtr& getStatusObject_InsufficientStorage() const { return statusInsufficientStorage_; }
    // What the failure callback of a failed request receives, from the
    // reply's HTTP status (0: no reply): 504 without a reply; 507 for an
    // upload answered 507; 404 for everything else, a 2xx that reached the
    // failure side included: a failure is never reported as 200.
    const StatusPtr& statusForFailedRequest(int httpStatus, bool upload) const;

    const std::shared_ptr<HCHttpService>& getS3HttpService() const { return s3HttpService_; }

    void populateKnownResources(HCResourceNameMap& map) override;

    // --- Handlers (main thread) -----------------------------------------------
    void _onUploadFailed(platform::ObjectPtr failure, std::shared_ptr<HCDelegateChained> nextCall);
    void _onDownloadFailed(platform::ObjectPtr failure, std::shared_ptr<HCDelegateChained> nextCall);
    void _onDownloaded(const platform::ObjectPtr& loader, const HCDelegate& onSuccess, const HCDelegate& onFailure);
    void _onS3Downloaded(const std::shared_ptr<HCS3Response>& response, const HCDelegate& onSuccess,
                         const HCDelegate& onFailure);

private:
    std::atomic<bool> useCompression_{true};
    std::atomic<bool> verboseCompression_{false};
    std::atomic<bool> useLegacyHeaderlessCompression_{false};
    const StatusPtr statusOk_;
    const StatusPtr statusNotAcceptable_;
    const StatusPtr statusNotFound_;
    const StatusPtr statusGatewayTimeout_;
    const StatusPtr statusInsufficientStorage_;
    const std::shared_ptr<HCHttpService> s3HttpService_;
};

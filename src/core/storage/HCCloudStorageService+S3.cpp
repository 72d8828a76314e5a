// The storage road: blobs to and from absolute URLs of the storage host.
#include "core/storage/HCCloudStorageService.h"
#include "core/storage/HCCompressableData.h"
#include "core/storage/HCS3Response.h"
#include "core/storage/HCS3UploadParameters.h"
#include "core/storage/ZlibCodec.h"
#include "kernel/http/HCBlobDownloadObserver.h"
#include "kernel/http/HCHttpService.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/Log.h"
#include "platform/runtime/ThreadChecker.h"

namespace {

bool usesLegacyHeaderlessCompression()
{
    auto service = HCCloudStorageService::sharedInstance();
    return service && service->isUsingLegacyHeaderlessCompression();
}

void logCompressionRatio(std::size_t compressed, std::size_t uncompressed)
{
    const auto percent = static_cast<int>(static_cast<float>(compressed) / static_cast<float>(uncompressed) * 100.0f);
    platform::log(platform::LogLevel::Info,
                  platform::format("Halcyon: BLOB compressed. Compressed size is %d percent of original size.", percent));
}

// The blob as it goes up. An empty blob has no compressed form: it goes up as
// an empty file. The download decodes what carries the header whatever the
// switch, so even uncompressed a blob that would read as one goes in the
// header form.
HCCloudStorageService::DataPtr travellingForm(const HCCloudStorageService& service,
                                              const HCCloudStorageService::DataPtr& blob)
{
    if (blob->length() == 0) {
        return blob;
    }
    if (service.isCompressionEnabled()) {
        return HCCloudStorageService::compressBlob(blob);
    }
    return HCCompressableData::dataWithNSData(blob, false)->serializedData();
}

}  // namespace

HCCloudStorageService::DataPtr HCCloudStorageService::compressBlob(const DataPtr& blob)
{
    if (!blob || blob->length() == 0) {
        return nullptr;
    }
    if (!usesLegacyHeaderlessCompression()) {
        return HCCompressableData::serializedDataFromData(blob);
    }
    // The legacy form is always a bare stream, even when it is the longer.
    auto stream = storage::zlibCompress(blob->data(), blob->length());
    if (!stream) {
        return nullptr;
    }
    auto service = sharedInstance();
    if (service && service->isVerboseCompressionEnabled()) {
        logCompressionRatio(stream->size(), blob->length());
    }
    return platform::Data::make(std::move(*stream));
}

HCCloudStorageService::DataPtr HCCloudStorageService::uncompressBlob(const DataPtr& data)
{
    if (!data || data->length() == 0) {
        return nullptr;
    }
    if (!usesLegacyHeaderlessCompression()) {
        return HCCompressableData::uncompressedDataFromSerializedData(data);
    }
    auto bytes = storage::zlibInflateBounded(data->data(), data->length(), HCCompressableData::kMaxUncompressedLength);
    return bytes ? platform::Data::make(std::move(*bytes)) : nullptr;
}

void HCCloudStorageService::uploadS3Blob(const DataPtr& blob, const std::shared_ptr<HCS3UploadParameters>& parameters,
                                         const platform::ObjectPtr& passThroughUserData, const HCDelegate& onSuccess,
                                         const HCDelegate& onFailure)
{
    auto service = sharedInstance();
    if (!service || !parameters || parameters->action().empty() || !blob) {
        return;
    }
    service->_uploadPreparedS3Blob(travellingForm(*service, blob), *parameters, passThroughUserData, onSuccess,
                                   onFailure);
}

void HCCloudStorageService::uploadS3Blob(const DataPtr& blob, const std::shared_ptr<HCS3UploadParameters>& parameters,
                                         const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    uploadS3Blob(blob, parameters, nullptr, onSuccess, onFailure);
}

void HCCloudStorageService::_uploadPreparedS3Blob(const DataPtr& preparedBlob, const HCS3UploadParameters& parameters,
                                                  const platform::ObjectPtr& passThroughUserData,
                                                  const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    if (!preparedBlob) {
        // A blob whose compression gave nothing: an empty file part would
        // store nothing and report success.
        onFailure.invoke(std::make_shared<HCS3Response>(nullptr, passThroughUserData, 0));
        return;
    }
    auto observer = std::make_shared<HCBlobDownloadObserver>(onSuccess, onFailure, true);
    const std::string boundary = parameters.multiPartBoundaryForBlob(preparedBlob);
    s3HttpService_->startRequest(parameters.action(), "POST", parameters.createS3HttpBodyForBlob(preparedBlob, boundary),
                                 "", "", passThroughUserData, boundary, observer);
}

std::shared_ptr<HCRequestHandle> HCCloudStorageService::downloadS3Blob(const std::string& url,
                                                                       const platform::ObjectPtr& passThroughUserData,
                                                                       const HCDelegate& onSuccess,
                                                                       const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto service = sharedInstance();
    if (!service) {
        return nullptr;
    }
    auto success = HCDelegate::withFunction(
        [service, onSuccess, onFailure](const platform::ObjectPtr& response) {
            service->_onS3Downloaded(platform::as<HCS3Response>(response), onSuccess, onFailure);
        },
        service);
    auto observer = std::make_shared<HCBlobDownloadObserver>(success, onFailure, true);
    auto request = service->s3HttpService_->startRequest(url, "GET", nullptr, "", "", passThroughUserData, "", observer);
    return HCRequestHandle::requestHandle(request);
}

std::shared_ptr<HCRequestHandle> HCCloudStorageService::downloadS3Blob(const std::string& url,
                                                                       const HCDelegate& onSuccess,
                                                                       const HCDelegate& onFailure)
{
    return downloadS3Blob(url, nullptr, onSuccess, onFailure);
}

void HCCloudStorageService::_onS3Downloaded(const std::shared_ptr<HCS3Response>& response, const HCDelegate& onSuccess,
                                            const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    if (!response) {
        onFailure.invoke(nullptr);
        return;
    }
    const auto& body = response->data() ? response->data() : std::make_shared<platform::Data>();
    // An empty body is the empty blob, stored as an empty file: it has no
    // compressed form to decode.
    if (body->length() == 0) {
        onSuccess.invoke(std::make_shared<HCS3Response>(body, response->userParam(), response->statusCode()));
        return;
    }
    // With compression off nothing was compressed on the way up, but what
    // carries the header is still decoded.
    auto blob = isCompressionEnabled() ? uncompressBlob(body) : HCCompressableData::uncompressedDataFromSerializedData(body);
    if (!blob) {
        onFailure.invoke(std::make_shared<HCS3Response>(nullptr, response->userParam(), response->statusCode()));
        return;
    }
    onSuccess.invoke(std::make_shared<HCS3Response>(blob, response->userParam(), response->statusCode()));
}

#include "core/storage/HCCloudStorageService.h"

#include "core/resources/HCResourceClass.h"
#include "core/services/HCServicePath.h"
#include "core/storage/HCCloudStorageBlob.h"
#include "core/storage/HCCompressableData.h"
#include "core/storage/HCS3UploadParameters.h"
#include "kernel/http/HCHttpService.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/runtime/ThreadChecker.h"
#include "transport/oauth/OAuthAPIRequestLoader.h"
#include "transport/provider/HCActionRequest.h"
#include "transport/provider/HCProvider.h"

namespace {

std::shared_ptr<HCCloudStorageService> sCloudStorageService;

bool isAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The HTTP status a provider failure carries; 0 when no reply came.
int httpStatusOf(const platform::ObjectPtr& failure)
{
    auto loader = platform::as<OAuthAPIRequestLoader>(failure);
    return loader ? loader->statusCode() : 0;
}

}  // namespace

void HCCloudStorageService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sCloudStorageService) {
        sCloudStorageService = HCService::create<HCCloudStorageService>();
    }
}

void HCCloudStorageService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    sCloudStorageService = nullptr;
}

std::shared_ptr<HCCloudStorageService> HCCloudStorageService::sharedInstance()
{
    return sCloudStorageService;
}

HCCloudStorageService::HCCloudStorageService()
    : statusOk_(std::make_shared<HCCloudStorageStatus_Ok>()),
      statusNotAcceptable_(std::make_shared<HCCloudStorageStatus_NotAcceptable>()),
      statusNotFound_(std::make_shared<HCCloudStorageStatus_NotFound>()),
      statusGatewayTimeout_(std::make_shared<HCCloudStorageStatus_GatewayTimeout>()),
      statusInsufficientStorage_(std::make_shared<HCCloudStorageStatus_InsufficientStorage>()),
      s3HttpService_(std::make_shared<HCHttpService>("", false))
{
}

HCCloudStorageService::~HCCloudStorageService()
{
    s3HttpService_->cancelAllRequests();
}

void HCCloudStorageService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCCloudStorageBlob>(map);
    // Score replies carry the upload fields nested; the reader finds the
    // class by this name.
    HCRegisterResourceClass<HCS3UploadParameters>();
}

bool HCCloudStorageService::keyIsValid(const std::string& key)
{
    if (key.empty() || !isAsciiLetter(key.front())) {
        return false;
    }
    for (char c : key) {
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != '_' && c != '-') {
            return false;
        }
    }
    return true;
}

const HCCloudStorageService::StatusPtr& HCCloudStorageService::statusForFailedRequest(int httpStatus,
                                                                                     bool upload) const
{
    if (httpStatus == 0) {
        return statusGatewayTimeout_;
    }
    if (httpStatus == 507 && upload) {
        return statusInsufficientStorage_;
    }
    return statusNotFound_;
}

std::shared_ptr<HCRequestHandle> HCCloudStorageService::uploadBlob(const DataPtr& blob, const std::string& key,
                                                                   const HCDelegate& onSuccess,
                                                                   const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto service = sharedInstance();
    if (!service) {
        return nullptr;
    }
    if (!blob) {
        onFailure.invoke(service->statusNotAcceptable_);
        return nullptr;
    }
    // With compression off the blob goes as it is, unless it would read as a
    // header on the way back: the download decodes those whatever the switch.
    const DataPtr stored = service->isCompressionEnabled() ? HCCompressableData::serializedDataFromData(blob)
                                                           : HCCompressableData::dataWithNSData(blob, false)->serializedData();
    // Only a blob far beyond the limit has no stored form.
    if (!stored || stored->length() > HCCompressableData::kStorageLimit) {
        onFailure.invoke(service->statusInsufficientStorage_);
        return nullptr;
    }
    if (!keyIsValid(key)) {
        onFailure.invoke(service->statusNotAcceptable_);
        return nullptr;
    }
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("key", key);
    parameters.ioBlob("blob", stored->bytes(), "blob");
    HCDelegate failure(service, &HCCloudStorageService::_onUploadFailed, onFailure);
    return service->postAction("/cloud_stores", &parameters, onSuccess, failure, HCActionRequest::kSilent, nullptr);
}

std::shared_ptr<HCRequestHandle> HCCloudStorageService::downloadBlobWithKey(const std::string& key,
                                                                            const HCDelegate& onSuccess,
                                                                            const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto service = sharedInstance();
    if (!service) {
        return nullptr;
    }
    const auto path = HCServicePath::format("cloud_stores/%@.blob", {key});
    if (!keyIsValid(key) || !path) {
        onFailure.invoke(service->statusNotAcceptable_);
        return nullptr;
    }
    auto provider = HCService::provider();
    if (!provider) {
        return nullptr;
    }
    // The body is a blob, not a reply document: the provider's own callbacks
    // are used, not the service base's reader.
    auto success = HCDelegate::withFunction(
        [service, onSuccess, onFailure](const platform::ObjectPtr& loader) {
            service->_onDownloaded(loader, onSuccess, onFailure);
        },
        service);
    HCDelegate failure(service, &HCCloudStorageService::_onDownloadFailed, onFailure);
    return provider->performAction(*path, std::nullopt, "GET", success, failure, 0, nullptr,
                                   true);
}

std::shared_ptr<HCRequestHandle> HCCloudStorageService::getIndexOnSuccess(const HCDelegate& onSuccess,
                                                                          const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    return getAction("cloud_stores.xml", nullptr, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

void HCCloudStorageService::_onUploadFailed(platform::ObjectPtr failure, std::shared_ptr<HCDelegateChained> nextCall)
{
    HC_CHECK_MAIN_THREAD();
    if (nextCall) {
        nextCall->invokeWith(statusForFailedRequest(httpStatusOf(failure), true));
    }
}

void HCCloudStorageService::_onDownloadFailed(platform::ObjectPtr failure,
                                              std::shared_ptr<HCDelegateChained> nextCall)
{
    HC_CHECK_MAIN_THREAD();
    if (nextCall) {
        nextCall->invokeWith(statusForFailedRequest(httpStatusOf(failure), false));
    }
}

void HCCloudStorageService::_onDownloaded(const platform::ObjectPtr& loader, const HCDelegate& onSuccess,
                                          const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto reply = platform::as<OAuthAPIRequestLoader>(loader);
    auto body = reply ? reply->data() : nullptr;
    // Whatever the switches say: bytes that carry the header are decoded,
    // others handed back as they are.
    auto blob = HCCompressableData::uncompressedDataFromSerializedData(body ? body : std::make_shared<platform::Data>());
    if (!blob) {
        onFailure.invoke(statusNotAcceptable_);
        return;
    }
    onSuccess.invoke(blob);
}

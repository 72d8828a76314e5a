#include "core/storage/HCS3UploadParameters.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/storage/HCCloudStorageService.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "platform/foundation/UUID.h"

namespace {

void append(std::vector<uint8_t>& body, const std::string& text)
{
    body.insert(body.end(), text.begin(), text.end());
}

}  // namespace

const std::string& HCS3UploadParameters::getMultiPartBoundary()
{
    static const std::string boundary = "8b1b0390bf21a96d7f9b6d9ef5d3438ae3556eff";
    return boundary;
}

const std::string& HCS3UploadParameters::getHeaderSpacer()
{
    static const std::string spacer = "\r\n";
    return spacer;
}

std::string HCS3UploadParameters::getBoundaryMarkerStart(const std::string& boundary)
{
    return "--" + boundary + "\r\n";
}

std::string HCS3UploadParameters::getBoundaryMarkerEnd(const std::string& boundary)
{
    return "--" + boundary + "--";
}

std::string HCS3UploadParameters::multiPartBoundaryForBlob(const std::shared_ptr<platform::Data>& blob) const
{
    const std::string_view blobBytes =
        blob ? std::string_view(reinterpret_cast<const char*>(blob->data()), blob->length()) : std::string_view();
    const std::array<std::string_view, 6> parts = {key_, AWSAccessKeyId_, acl_, policy_, signature_, blobBytes};
    auto heldByAPart = [&](const std::string& boundary) {
        return std::any_of(parts.begin(), parts.end(),
                           [&](std::string_view part) { return part.find(boundary) != std::string_view::npos; });
    };
    std::string boundary = getMultiPartBoundary();
    // A fresh UUID (36 characters, well within the 70 a boundary may have)
    // makes a second collision as good as impossible; a blob that still holds
    // it only costs another try.
    while (heldByAPart(boundary)) boundary = platform::createUUIDString();
    return boundary;
}

std::shared_ptr<HCService> HCS3UploadParameters::getService() const
{
    return HCCloudStorageService::sharedInstance();
}

const HCResourceDataMap& HCS3UploadParameters::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("action", &HCS3UploadParameters::setAction);
        m->addField("key", &HCS3UploadParameters::setKey);
        m->addField("AWSAccessKeyId", &HCS3UploadParameters::setAWSAccessKeyId);
        m->addField("acl", &HCS3UploadParameters::setAcl);
        m->addField("policy", &HCS3UploadParameters::setPolicy);
        m->addField("signature", &HCS3UploadParameters::setSignature);
        return m;
    }();
    return *map;
}

void HCS3UploadParameters::addParamToData(std::vector<uint8_t>& body, const std::string& boundary,
                                          const std::string& paramName, const std::string& paramValue)
{
    append(body, getBoundaryMarkerStart(boundary));
    append(body, "Content-Disposition: form-data; name=\"" + paramName + "\"\r\n");
    append(body, getHeaderSpacer());
    append(body, paramValue);
    append(body, getHeaderSpacer());
}

std::shared_ptr<platform::Data> HCS3UploadParameters::createS3HttpBodyForBlob(
    const std::shared_ptr<platform::Data>& blob, const std::string& boundary) const
{
    std::vector<uint8_t> body;
    body.reserve(1024 + (blob ? blob->length() : 0));
    addParamToData(body, boundary, "key", key_);
    addParamToData(body, boundary, "AWSAccessKeyId", AWSAccessKeyId_);
    addParamToData(body, boundary, "acl", acl_);
    addParamToData(body, boundary, "policy", policy_);
    addParamToData(body, boundary, "signature", signature_);
    append(body, getBoundaryMarkerStart(boundary));
    append(body, "Content-Disposition: form-data; name=\"file\"; filename=\"test.blob\"\r\n");
    append(body, "Content-Type: \"application/octet-stream\"\r\n");
    append(body, getHeaderSpacer());
    if (blob) {
        body.insert(body.end(), blob->bytes().begin(), blob->bytes().end());
    }
    append(body, getHeaderSpacer());
    append(body, getBoundaryMarkerEnd(boundary));
    return platform::Data::make(std::move(body));
}

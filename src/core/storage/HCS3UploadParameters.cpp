#include "core/storage/HCS3UploadParameters.h"

#include "core/storage/HCCloudStorageService.h"
#include "kernel/resources/HCResourceDataMap.h"

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

std::string HCS3UploadParameters::getBoundaryMarkerStart()
{
    return "--" + getMultiPartBoundary() + "\r\n";
}

std::string HCS3UploadParameters::getBoundaryMarkerEnd()
{
    return "--" + getMultiPartBoundary() + "--";
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

void HCS3UploadParameters::addParamToData(std::vector<uint8_t>& body, const std::string& paramName,
                                          const std::string& paramValue)
{
    append(body, getBoundaryMarkerStart());
    append(body, "Content-Disposition: form-data; name=\"" + paramName + "\"\r\n");
    append(body, getHeaderSpacer());
    append(body, paramValue);
    append(body, getHeaderSpacer());
}

std::shared_ptr<platform::Data> HCS3UploadParameters::createS3HttpBodyForBlob(
    const std::shared_ptr<platform::Data>& blob) const
{
    std::vector<uint8_t> body;
    body.reserve(1024 + (blob ? blob->length() : 0));
    addParamToData(body, "key", key_);
    addParamToData(body, "AWSAccessKeyId", AWSAccessKeyId_);
    addParamToData(body, "acl", acl_);
    addParamToData(body, "policy", policy_);
    addParamToData(body, "signature", signature_);
    append(body, getBoundaryMarkerStart());
    append(body, "Content-Disposition: form-data; name=\"file\"; filename=\"test.blob\"\r\n");
    append(body, "Content-Type: \"application/octet-stream\"\r\n");
    append(body, getHeaderSpacer());
    if (blob) {
        body.insert(body.end(), blob->bytes().begin(), blob->bytes().end());
    }
    append(body, getHeaderSpacer());
    append(body, getBoundaryMarkerEnd());
    return platform::Data::make(std::move(body));
}

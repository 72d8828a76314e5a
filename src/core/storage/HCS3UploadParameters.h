#pragma once
// The form fields a reply issues for one upload to the storage host
// ("blob_upload_parameters", nested in the reply that wants the blob), and
// the multipart body that carries a blob with them:
//
//   for each of "key", "AWSAccessKeyId", "acl", "policy", "signature":
//     --B CRLF, Content-Disposition: form-data; name="F" CRLF, CRLF, value, CRLF
//   --B CRLF
//   Content-Disposition: form-data; name="file"; filename="test.blob" CRLF
//   Content-Type: "application/octet-stream" CRLF
//   CRLF, the blob, CRLF
//   --B--                       (no CRLF after it)
//
// with B the boundary "8b1b0390bf21a96d7f9b6d9ef5d3438ae3556eff", unless a
// field or the blob holds it: the host would cut the blob there and read
// whatever follows as parts of their own, so such a request gets a boundary
// of its own (multiPartBoundaryForBlob), which its content type carries. The
// storage host reads the media type in quotes; keep the bytes as they are.
//
// Thread: built where its reply is read (the provider's request thread),
// then handed on whole; the body is built on the caller's thread.
#include <memory>
#include <string>
#include <vector>

#include "core/resources/HCResource.h"

class HCS3UploadParameters final : public HCResource {
public:
    // The usual boundary.
    static const std::string& getMultiPartBoundary();
    static const std::string& getHeaderSpacer();
    static std::string getBoundaryMarkerStart(const std::string& boundary);
    static std::string getBoundaryMarkerEnd(const std::string& boundary);

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "blob_upload_parameters"; }
    std::string getResourceDiscoveredNotification() const override { return "s3_upload_parameters_discovered"; }
    const HCResourceDataMap& getDataMap() const override;

    // The absolute URL to POST the body to.
    const std::string& action() const { return action_; }

    // The boundary for the body of this blob: the usual one unless a field or
    // the blob holds it; then another, fresh each call.
    std::string multiPartBoundaryForBlob(const std::shared_ptr<platform::Data>& blob) const;
    // The whole body for the blob with that boundary; a nil blob gives an
    // empty file part.
    std::shared_ptr<platform::Data> createS3HttpBodyForBlob(const std::shared_ptr<platform::Data>& blob,
                                                            const std::string& boundary) const;

    // Data-map setters.
    void setAction(const std::string& value) { action_ = value; }
    void setKey(const std::string& value) { key_ = value; }
    void setAWSAccessKeyId(const std::string& value) { AWSAccessKeyId_ = value; }
    void setAcl(const std::string& value) { acl_ = value; }
    void setPolicy(const std::string& value) { policy_ = value; }
    void setSignature(const std::string& value) { signature_ = value; }

private:
    static void addParamToData(std::vector<uint8_t>& body, const std::string& boundary, const std::string& paramName,
                               const std::string& paramValue);

    std::string action_;
    std::string key_;
    std::string AWSAccessKeyId_;
    std::string acl_;
    std::string policy_;
    std::string signature_;
};

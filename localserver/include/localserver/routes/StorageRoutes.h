#pragma once
// The storage host to which blobs travel straight from the client (score
// blobs), in the manner of a browser-form upload to a bucket:
//
//   POST "storage"        open (no OAuth); multipart fields "key",
//                         "AWSAccessKeyId", "acl", "policy", "signature" and
//                         the file part "file". The fields must be ones the
//                         bucket issued: the access key is the bucket's, the
//                         signature is the HMAC-SHA1 (Base64) of the policy
//                         under the bucket's secret, the policy was issued
//                         for this key, and the file is no larger than the
//                         policy allows. Then the file's bytes are stored as
//                         sent under the key: 204. A failed check: 403; a
//                         missing field or file: 400.
//   GET  "storage/{key}"  open; the stored bytes; 404 when there are none.
//
// Whoever wants a blob (a score reply) asks the bucket for upload fields,
// which the client sends back with the blob. Every method locks.
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "localserver/XmlWriter.h"

namespace localserver {
class Server;

struct StorageUploadFields {
    std::string action;  // the absolute URL of POST "storage"
    std::string key;
    std::string accessKeyId;
    std::string acl;
    std::string policy;
    std::string signature;
};

class StorageBucket {
public:
    static constexpr const char* kAccessKeyId = "LOCALSTORAGEACCESSKEY";
    static constexpr std::size_t kDefaultMaxObjectBytes = 0x40000;

    explicit StorageBucket(const Server& server) : server_(server) {}

    // Fields for one upload under `key` (no "/" in it) of at most
    // `maxBytes` bytes; each call issues a new policy.
    StorageUploadFields issueUploadFields(const std::string& key, std::size_t maxBytes = kDefaultMaxObjectBytes);
    // The fields as the "blob_upload_parameters" element of a reply.
    static XmlNode uploadParametersNode(const StorageUploadFields& fields);
    // The absolute URL that serves the object under `key`.
    std::string objectUrl(const std::string& key) const;

    std::optional<std::string> object(const std::string& key) const;
    void putObject(const std::string& key, std::string bytes);

    // The check of POST "storage": 0 when the upload may be stored, else the
    // status that refuses it.
    int checkUpload(const std::string& key, const std::string& accessKeyId, const std::string& policy,
                    const std::string& signature, std::size_t fileBytes) const;

private:
    struct Policy {
        std::string key;
        std::size_t maxBytes;
    };

    const Server& server_;
    mutable std::mutex mutex_;
    std::size_t issued_ = 0;
    std::map<std::string, Policy> policies_;  // by policy text
    std::map<std::string, std::string> objects_;
};

// Adds the routes over an empty bucket of their own and answers the bucket.
std::shared_ptr<StorageBucket> registerStorageRoutes(Server& server);

}  // namespace localserver

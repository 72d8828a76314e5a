#include "localserver/routes/StorageRoutes.h"

#include "localserver/OAuth.h"
#include "localserver/Server.h"

namespace localserver {

namespace {

// Known only to the bucket: what signs the policies it issues.
constexpr const char* kBucketSecret = "local-storage-bucket-secret";

}  // namespace

StorageUploadFields StorageBucket::issueUploadFields(const std::string& key, std::size_t maxBytes)
{
    std::size_t serial;
    {
        std::lock_guard lock(mutex_);
        serial = ++issued_;
    }
    const std::string conditions = "{\"serial\":" + std::to_string(serial) + ",\"conditions\":[{\"key\":\"" + key +
                                   "\"},{\"acl\":\"public-read\"},[\"content-length-range\",0," +
                                   std::to_string(maxBytes) + "]]}";
    StorageUploadFields fields;
    fields.action = server_.serviceRootUrl() + "storage";
    fields.key = key;
    fields.accessKeyId = kAccessKeyId;
    fields.acl = "public-read";
    fields.policy = oauth::base64(conditions);
    fields.signature = oauth::hmacSha1Base64(kBucketSecret, fields.policy);
    std::lock_guard lock(mutex_);
    policies_[fields.policy] = Policy{key, maxBytes};
    return fields;
}

XmlNode StorageBucket::uploadParametersNode(const StorageUploadFields& fields)
{
    return resourceNode("blob_upload_parameters", std::nullopt,
                        {{"action", fields.action},
                         {"key", fields.key},
                         {"AWSAccessKeyId", fields.accessKeyId},
                         {"acl", fields.acl},
                         {"policy", fields.policy},
                         {"signature", fields.signature}});
}

std::string StorageBucket::objectUrl(const std::string& key) const
{
    return server_.serviceRootUrl() + "storage/" + key;
}

std::optional<std::string> StorageBucket::object(const std::string& key) const
{
    std::lock_guard lock(mutex_);
    auto found = objects_.find(key);
    if (found == objects_.end()) {
        return std::nullopt;
    }
    return found->second;
}

void StorageBucket::putObject(const std::string& key, std::string bytes)
{
    std::lock_guard lock(mutex_);
    objects_[key] = std::move(bytes);
}

int StorageBucket::checkUpload(const std::string& key, const std::string& accessKeyId, const std::string& policy,
                               const std::string& signature, std::size_t fileBytes) const
{
    if (accessKeyId != kAccessKeyId || signature != oauth::hmacSha1Base64(kBucketSecret, policy)) {
        return 403;
    }
    std::lock_guard lock(mutex_);
    auto issued = policies_.find(policy);
    if (issued == policies_.end() || issued->second.key != key || fileBytes > issued->second.maxBytes) {
        return 403;
    }
    return 0;
}

std::shared_ptr<StorageBucket> registerStorageRoutes(Server& server)
{
    auto bucket = std::make_shared<StorageBucket>(server);
    server.addRoute("POST", "storage", Access::Open, [bucket](const Request& request) {
        const auto key = request.param("key");
        const auto accessKeyId = request.param("AWSAccessKeyId");
        const auto policy = request.param("policy");
        const auto signature = request.param("signature");
        const FilePart* file = request.file("file");
        if (!key || !accessKeyId || !policy || !signature || !request.param("acl") || file == nullptr) {
            return Reply::text(400, "incomplete upload form");
        }
        if (const int refused = bucket->checkUpload(*key, *accessKeyId, *policy, *signature, file->bytes.size())) {
            return Reply::text(refused, "upload not allowed");
        }
        bucket->putObject(*key, file->bytes);
        return Reply::text(204, "");
    });
    server.addRoute("GET", "storage/{key}", Access::Open, [bucket](const Request& request) {
        auto bytes = bucket->object(request.pathParam("key").value_or(""));
        if (!bytes) {
            return Reply::text(404, "no such object");
        }
        Reply reply;
        reply.contentType = "application/octet-stream";
        reply.body = std::move(*bytes);
        return reply;
    });
    return bucket;
}

}  // namespace localserver

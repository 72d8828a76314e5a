#include "localserver/routes/CloudStoreRoutes.h"

#include "localserver/Server.h"

namespace localserver {

namespace {

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

bool isValidCloudStoreKey(const std::string& key)
{
    if (key.empty() || !isLetter(key[0])) {
        return false;
    }
    for (char c : key) {
        if (!isLetter(c) && !(c >= '0' && c <= '9') && c != '_' && c != '-') {
            return false;
        }
    }
    return true;
}

void CloudStore::put(const std::string& userId, const std::string& key, std::string bytes)
{
    std::lock_guard lock(mutex_);
    blobs_[{userId, key}] = std::move(bytes);
}

std::optional<std::string> CloudStore::get(const std::string& userId, const std::string& key) const
{
    std::lock_guard lock(mutex_);
    auto found = blobs_.find({userId, key});
    if (found == blobs_.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::vector<std::string> CloudStore::keys(const std::string& userId) const
{
    std::lock_guard lock(mutex_);
    std::vector<std::string> keys;
    for (auto it = blobs_.lower_bound({userId, ""}); it != blobs_.end() && it->first.first == userId; ++it) {
        keys.push_back(it->first.second);
    }
    return keys;
}

std::shared_ptr<CloudStore> registerCloudStoreRoutes(Server& server)
{
    auto store = std::make_shared<CloudStore>();
    server.addRoute("POST", "cloud_stores", Access::User, [store](const Request& request) {
        const FilePart* blob = request.file("blob");
        if (blob == nullptr) {
            return Reply::text(406, "no blob");
        }
        if (blob->bytes.size() > kCloudStoreLimit) {
            return Reply::text(507, "blob too large");
        }
        const std::string key = request.param("key").value_or("");
        if (!isValidCloudStoreKey(key)) {
            return Reply::text(406, "bad key");
        }
        store->put(request.userId, key, blob->bytes);
        return Reply::xml(writeFlatReply({}));
    });
    server.addRoute("GET", "cloud_stores/{key}.blob", Access::User, [store](const Request& request) {
        auto bytes = store->get(request.userId, request.pathParam("key").value_or(""));
        if (!bytes) {
            return Reply::text(404, "no such blob");
        }
        Reply reply;
        reply.contentType = "application/octet-stream";
        reply.body = std::move(*bytes);
        return reply;
    });
    server.addRoute("GET", "cloud_stores.xml", Access::User, [store](const Request& request) {
        ResourceList list;
        for (const auto& key : store->keys(request.userId)) {
            list.resources.push_back(resourceNode("cloud_store", std::nullopt, {{"user_id", request.userId}, {"key", key}}));
        }
        return Reply::xml(writeFlatReply(list));
    });
    return store;
}

}  // namespace localserver

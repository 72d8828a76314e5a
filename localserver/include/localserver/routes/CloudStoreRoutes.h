#pragma once
// The players' key-value blob store:
//
//   POST "cloud_stores"              multipart: text "key", file part "blob".
//                                    The bytes are stored as sent under the
//                                    key for the signed user (a later upload
//                                    replaces an earlier one) and an empty
//                                    resource list answers. No blob: 406; more
//                                    than kCloudStoreLimit bytes: 507 (before
//                                    the key is looked at); a bad key: 406.
//   GET  "cloud_stores/{key}.blob"   the bytes as stored; 404 when the user
//                                    has none under the key.
//   GET  "cloud_stores.xml"          the user's keys in key order, one
//                                    "cloud_store" (user_id, key) each.
//
// A key is an ASCII letter followed by ASCII letters, digits, "_" and "-".
// Each user sees only their own blobs. Every method locks: tests read and
// plant blobs while connection threads serve.
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace localserver {
class Server;

inline constexpr std::size_t kCloudStoreLimit = 0x40000;

bool isValidCloudStoreKey(const std::string& key);

class CloudStore {
public:
    void put(const std::string& userId, const std::string& key, std::string bytes);
    std::optional<std::string> get(const std::string& userId, const std::string& key) const;
    // In key order.
    std::vector<std::string> keys(const std::string& userId) const;

private:
    mutable std::mutex mutex_;
    std::map<std::pair<std::string, std::string>, std::string> blobs_;
};

// Adds the routes over an empty store of their own and answers the store.
std::shared_ptr<CloudStore> registerCloudStoreRoutes(Server& server);

}  // namespace localserver

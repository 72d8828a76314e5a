#pragma once
// Score submission and the server's own record of the scores it accepted:
//
//   POST "client_applications/@me/high_scores.xml"   user token required.
//        The batch form: every entry's fields under "high_scores[][NAME]",
//        "leaderboard_id" opening each entry, then "score", and optionally
//        "display_text", "custom_data", "has_blob" ("1" or "0"),
//        "gamecenter_timestamp"; "lat" and "lng" may follow. A leaderboard
//        id that is not decimal digits, a score that is not a 64-bit decimal
//        integer, or a batch without entries: 422 and nothing is stored.
//        Otherwise every entry is accepted and the reply lists one
//        "high_score" per entry, in batch order, with its player; an entry
//        with "has_blob" "1" carries "blob_upload_parameters" from the
//        storage bucket (key "high_score-ID.blob", of the bucket's default
//        size: a batch's blobs have no limit of their own).
//
// ScoreStore counts each (player, leaderboard, score) once however often it
// is posted, as a service must when a client re-sends a batch whose reply it
// never saw; it also remembers how often each was posted, so tests can tell
// a re-send from a first send. Connection threads and the test thread call
// at once; every method locks.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace localserver {
class Server;
class StorageBucket;

struct StoredScore {
    std::string id;  // the server's id of the score
    std::string userId;
    std::string leaderboardId;
    std::int64_t score = 0;
    std::optional<std::string> displayText;
    std::optional<std::string> customData;
    bool hasBlob = false;
    std::int64_t acceptedAt = 0;  // Server::now() of the first post
    int posts = 0;                // how often it was posted
    // The batch's "lat" and "lng", when it sent a position.
    std::optional<double> latitude;
    std::optional<double> longitude;
};

class ScoreStore {
public:
    // Records a post; a triple stored before keeps its first record (the
    // texts of the latest post win) and counts one more post. Answers the
    // record as it stands now.
    StoredScore accept(StoredScore posted);

    // One leaderboard's scores, in the order first accepted.
    std::vector<StoredScore> scores(const std::string& leaderboardId) const;
    std::vector<StoredScore> all() const;
    std::optional<StoredScore> find(const std::string& userId, const std::string& leaderboardId,
                                    std::int64_t score) const;
    std::optional<StoredScore> findById(const std::string& id) const;
    // The client found the score's attachment missing: it is no longer
    // offered. False for an unknown id.
    bool invalidateBlob(const std::string& id);
    // Score entries received in all batches, re-posts included.
    std::size_t entriesPosted() const;
    // Posts beyond the first of each triple.
    std::size_t repostCount() const;
    void clear();

    // Runs on the connection thread once a batch is stored and before its
    // reply is written, so a test can stop the client in between; nil
    // removes it.
    using AcceptHook = std::function<void(const std::vector<StoredScore>& accepted)>;
    void setAcceptHook(AcceptHook hook);
    AcceptHook acceptHook() const;

private:
    using Key = std::tuple<std::string, std::string, std::int64_t>;
    mutable std::mutex mutex_;
    std::map<Key, std::size_t> index_;  // into records_
    std::vector<StoredScore> records_;
    std::size_t posted_ = 0;
    AcceptHook acceptHook_;
};

// Adds the route over an empty store of its own and answers the store; the
// bucket issues the upload fields of scores that announce a blob.
std::shared_ptr<ScoreStore> registerScoreRoutes(Server& server, std::shared_ptr<StorageBucket> bucket);

}  // namespace localserver

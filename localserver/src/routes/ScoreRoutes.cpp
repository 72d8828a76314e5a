#include "localserver/routes/ScoreRoutes.h"

#include <charconv>
#include <cstdlib>

#include "localserver/Server.h"
#include "localserver/routes/StorageRoutes.h"

namespace localserver {

namespace {

constexpr std::string_view kEntryPrefix = "high_scores[][";

bool isDecimalId(const std::string& text)
{
    if (text.empty() || text.size() > 18) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

std::optional<std::int64_t> parseScore(const std::string& text)
{
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

struct PostedEntry {
    Params fields;
    std::optional<std::string> field(std::string_view name) const { return firstValue(fields, name); }
};

// Groups the series' fields into entries: "leaderboard_id" opens one, and so
// does a field the open entry already holds.
std::vector<PostedEntry> entriesOf(const Params& params)
{
    std::vector<PostedEntry> entries;
    for (const auto& [name, value] : params) {
        if (name.size() <= kEntryPrefix.size() + 1 || name.compare(0, kEntryPrefix.size(), kEntryPrefix) != 0 ||
            name.back() != ']') {
            continue;
        }
        std::string field = name.substr(kEntryPrefix.size(), name.size() - kEntryPrefix.size() - 1);
        if (entries.empty() || field == "leaderboard_id" || entries.back().field(field)) {
            entries.emplace_back();
        }
        entries.back().fields.emplace_back(std::move(field), value);
    }
    return entries;
}

std::optional<std::string> nonEmpty(const std::optional<std::string>& text)
{
    return text && !text->empty() ? text : std::nullopt;
}

}  // namespace

StoredScore ScoreStore::accept(StoredScore posted)
{
    std::lock_guard lock(mutex_);
    ++posted_;
    Key key{posted.userId, posted.leaderboardId, posted.score};
    auto found = index_.find(key);
    if (found == index_.end()) {
        posted.id = std::to_string(records_.size() + 1);
        posted.posts = 1;
        index_.emplace(std::move(key), records_.size());
        records_.push_back(std::move(posted));
        return records_.back();
    }
    StoredScore& record = records_[found->second];
    record.displayText = posted.displayText;
    record.customData = posted.customData;
    record.hasBlob = record.hasBlob || posted.hasBlob;
    if (posted.latitude && posted.longitude) {
        record.latitude = posted.latitude;
        record.longitude = posted.longitude;
    }
    ++record.posts;
    return record;
}

std::vector<StoredScore> ScoreStore::scores(const std::string& leaderboardId) const
{
    std::lock_guard lock(mutex_);
    std::vector<StoredScore> result;
    for (const auto& record : records_) {
        if (record.leaderboardId == leaderboardId) {
            result.push_back(record);
        }
    }
    return result;
}

std::vector<StoredScore> ScoreStore::all() const
{
    std::lock_guard lock(mutex_);
    return records_;
}

std::optional<StoredScore> ScoreStore::find(const std::string& userId, const std::string& leaderboardId,
                                            std::int64_t score) const
{
    std::lock_guard lock(mutex_);
    auto found = index_.find(Key{userId, leaderboardId, score});
    if (found == index_.end()) {
        return std::nullopt;
    }
    return records_[found->second];
}

std::optional<StoredScore> ScoreStore::findById(const std::string& id) const
{
    std::lock_guard lock(mutex_);
    for (const auto& record : records_) {
        if (record.id == id) {
            return record;
        }
    }
    return std::nullopt;
}

bool ScoreStore::invalidateBlob(const std::string& id)
{
    std::lock_guard lock(mutex_);
    for (auto& record : records_) {
        if (record.id == id) {
            record.hasBlob = false;
            return true;
        }
    }
    return false;
}

std::size_t ScoreStore::entriesPosted() const
{
    std::lock_guard lock(mutex_);
    return posted_;
}

std::size_t ScoreStore::repostCount() const
{
    std::lock_guard lock(mutex_);
    std::size_t reposts = 0;
    for (const auto& record : records_) {
        reposts += static_cast<std::size_t>(record.posts - 1);
    }
    return reposts;
}

void ScoreStore::clear()
{
    std::lock_guard lock(mutex_);
    index_.clear();
    records_.clear();
    posted_ = 0;
}

void ScoreStore::setAcceptHook(AcceptHook hook)
{
    std::lock_guard lock(mutex_);
    acceptHook_ = std::move(hook);
}

ScoreStore::AcceptHook ScoreStore::acceptHook() const
{
    std::lock_guard lock(mutex_);
    return acceptHook_;
}

std::shared_ptr<ScoreStore> registerScoreRoutes(Server& server, std::shared_ptr<StorageBucket> bucket)
{
    auto store = std::make_shared<ScoreStore>();
    server.addRoute(
        "POST", "client_applications/@me/high_scores.xml", Access::User,
        [&server, store, bucket](const Request& request) {
            const auto entries = entriesOf(request.params);
            if (entries.empty()) {
                return Reply::text(422, "no high_scores entries");
            }
            std::vector<StoredScore> posted;
            const auto latitude = request.param("lat");
            const auto longitude = request.param("lng");
            for (const auto& entry : entries) {
                const auto leaderboardId = entry.field("leaderboard_id").value_or("");
                const auto score = parseScore(entry.field("score").value_or(""));
                if (!isDecimalId(leaderboardId) || !score) {
                    return Reply::text(422, "an entry needs a leaderboard_id of digits and a whole score");
                }
                StoredScore record;
                record.userId = request.userId;
                record.leaderboardId = leaderboardId;
                record.score = *score;
                record.displayText = nonEmpty(entry.field("display_text"));
                record.customData = nonEmpty(entry.field("custom_data"));
                record.hasBlob = entry.field("has_blob") == "1";
                record.acceptedAt = server.now();
                if (latitude && longitude) {
                    record.latitude = std::strtod(latitude->c_str(), nullptr);
                    record.longitude = std::strtod(longitude->c_str(), nullptr);
                }
                posted.push_back(std::move(record));
            }
            const auto user = server.accounts().user(request.userId);
            ResourceList list;
            std::vector<StoredScore> accepted;
            for (auto& record : posted) {
                const bool wantsBlob = record.hasBlob;
                const StoredScore stored = store->accept(std::move(record));
                accepted.push_back(stored);
                Params fields{{"score", std::to_string(stored.score)}, {"leaderboard_id", stored.leaderboardId}};
                if (stored.displayText) {
                    fields.emplace_back("display_text", *stored.displayText);
                }
                if (stored.customData) {
                    fields.emplace_back("custom_data", *stored.customData);
                }
                XmlNode node = resourceNode("high_score", stored.id, fields);
                node.add(resourceNode("user", stored.userId, {{"name", user ? user->name : std::string()}}));
                if (wantsBlob && bucket) {
                    node.add(StorageBucket::uploadParametersNode(
                        bucket->issueUploadFields("high_score-" + stored.id + ".blob")));
                }
                list.resources.push_back(std::move(node));
            }
            if (auto hook = store->acceptHook()) {
                hook(accepted);
            }
            return Reply::xml(writeFlatReply(list));
        });
    return store;
}

}  // namespace localserver

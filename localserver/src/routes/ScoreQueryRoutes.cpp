#include "localserver/routes/ScoreQueryRoutes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>

#include "localserver/Server.h"
#include "localserver/routes/ScoreRoutes.h"
#include "localserver/routes/StorageRoutes.h"

namespace localserver {

namespace {

constexpr std::uint32_t kLocationPageSize = 25;
constexpr double kEarthRadiusMiles = 3958.7613;

std::optional<std::int64_t> wholeNumber(const std::optional<std::string>& text)
{
    if (!text || text->empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    const char* end = text->data() + text->size();
    auto [stop, error] = std::from_chars(text->data(), end, value);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::uint32_t positiveOr(const std::optional<std::string>& text, std::uint32_t fallback)
{
    const auto value = wholeNumber(text);
    return value && *value > 0 && *value <= 100000 ? static_cast<std::uint32_t>(*value) : fallback;
}

std::string formatDouble(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%f", value);
    return text;
}

double milesBetween(double lat1, double lng1, double lat2, double lng2)
{
    constexpr double kRadians = M_PI / 180.0;
    const double dLat = (lat2 - lat1) * kRadians;
    const double dLng = (lng2 - lng1) * kRadians;
    const double a = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(lat1 * kRadians) * std::cos(lat2 * kRadians) * std::sin(dLng / 2) * std::sin(dLng / 2);
    return 2 * kEarthRadiusMiles * std::atan2(std::sqrt(a), std::sqrt(1 - a));
}

struct Ranked {
    StoredScore score;
    int rank = 0;
    std::optional<double> distance;
};

// Everything one request needs to write its scores.
struct Context {
    Server& server;
    const ScoreStore& scores;
    const StorageBucket* bucket;
    SortOrderLookup descending;

    bool isDescending(const std::string& board) const { return !descending || descending(board); }

    // Each player's best on the board among the scores `keep` lets through,
    // best first, ranked.
    template <class Keep>
    std::vector<Ranked> ranking(const std::string& board, Keep keep) const
    {
        const bool higherFirst = isDescending(board);
        std::map<std::string, StoredScore> best;
        std::vector<std::string> order;
        for (const auto& score : scores.scores(board)) {
            if (!keep(score)) {
                continue;
            }
            auto found = best.find(score.userId);
            if (found == best.end()) {
                order.push_back(score.userId);
                best.emplace(score.userId, score);
            } else if (higherFirst ? score.score > found->second.score : score.score < found->second.score) {
                found->second = score;
            }
        }
        std::vector<Ranked> ranked;
        for (const auto& user : order) {
            ranked.push_back(Ranked{best[user], 0, std::nullopt});
        }
        std::stable_sort(ranked.begin(), ranked.end(), [higherFirst](const Ranked& a, const Ranked& b) {
            return higherFirst ? a.score.score > b.score.score : a.score.score < b.score.score;
        });
        for (std::size_t i = 0; i < ranked.size(); ++i) {
            ranked[i].rank = static_cast<int>(i + 1);
        }
        return ranked;
    }

    XmlNode node(const Ranked& ranked) const
    {
        const StoredScore& score = ranked.score;
        Params fields{{"score", std::to_string(score.score)},
                      {"rank", std::to_string(ranked.rank)},
                      {"leaderboard_id", score.leaderboardId}};
        if (score.displayText) fields.emplace_back("display_text", *score.displayText);
        if (score.customData) fields.emplace_back("custom_data", *score.customData);
        const std::string key = "high_score-" + score.id + ".blob";
        if (score.hasBlob && bucket != nullptr && bucket->object(key)) {
            fields.emplace_back("blob_url", bucket->objectUrl(key));
        }
        if (ranked.distance) {
            fields.emplace_back("lat", formatDouble(score.latitude.value_or(0)));
            fields.emplace_back("lng", formatDouble(score.longitude.value_or(0)));
            fields.emplace_back("distance", formatDouble(*ranked.distance));
        }
        XmlNode node = resourceNode("high_score", score.id, fields);
        const auto user = server.accounts().user(score.userId);
        node.add(resourceNode("user", score.userId, {{"name", user ? user->name : std::string()}}));
        return node;
    }

    ResourceList list(const std::vector<Ranked>& ranked, std::size_t from, std::size_t to) const
    {
        ResourceList list;
        for (std::size_t i = from; i < to && i < ranked.size(); ++i) {
            list.resources.push_back(node(ranked[i]));
        }
        return list;
    }

    ResourceList page(const std::vector<Ranked>& ranked, std::uint32_t page, std::uint32_t perPage) const
    {
        const PaginationHeader header = paginate(static_cast<std::uint32_t>(ranked.size()), page, perPage);
        ResourceList result = list(ranked, header.currentOffset, std::size_t(header.currentOffset) + header.perPage);
        result.header = header;
        return result;
    }
};

std::optional<std::size_t> positionOf(const std::vector<Ranked>& ranked, const std::string& userId)
{
    for (std::size_t i = 0; i < ranked.size(); ++i) {
        if (ranked[i].score.userId == userId) return i;
    }
    return std::nullopt;
}

Reply allOfMine(const Context& context, const Request& request)
{
    std::vector<std::string> boards;
    for (const auto& score : context.scores.all()) {
        if (std::find(boards.begin(), boards.end(), score.leaderboardId) == boards.end()) {
            boards.push_back(score.leaderboardId);
        }
    }
    ResourceList list;
    for (const auto& board : boards) {
        const auto ranked = context.ranking(board, [](const StoredScore&) { return true; });
        if (auto at = positionOf(ranked, request.userId)) {
            list.resources.push_back(context.node(ranked[*at]));
        }
    }
    return Reply::xml(writeFlatReply(list));
}

Reply nearLocation(const Context& context, const Request& request, const std::string& board)
{
    const auto lat = request.param("lat");
    const auto lng = request.param("lng");
    const bool hasOrigin = lat && lng;
    const double originLat = hasOrigin ? std::strtod(lat->c_str(), nullptr) : 0;
    const double originLng = hasOrigin ? std::strtod(lng->c_str(), nullptr) : 0;
    const auto radius = wholeNumber(request.param("radius"));
    auto ranked = context.ranking(board, [&](const StoredScore& score) {
        if (!score.latitude || !score.longitude) return false;
        if (!hasOrigin || !radius || *radius <= 0) return true;
        return milesBetween(originLat, originLng, *score.latitude, *score.longitude) <= double(*radius);
    });
    for (auto& entry : ranked) {
        entry.distance = hasOrigin ? milesBetween(originLat, originLng, *entry.score.latitude, *entry.score.longitude)
                                   : 0.0;
    }
    return Reply::xml(writeFlatReply(context.page(ranked, positiveOr(request.param("page"), 1), kLocationPageSize)));
}

Reply aroundMe(const Context& context, const Request& request, const std::string& board)
{
    const auto ranked = context.ranking(board, [](const StoredScore&) { return true; });
    const auto at = positionOf(ranked, request.userId);
    if (request.param("better_count") || request.param("worse_count")) {
        if (!at) return Reply::xml(writeFlatReply({}));
        const std::size_t better = positiveOr(request.param("better_count"), 0);
        const std::size_t worse = positiveOr(request.param("worse_count"), 0);
        const std::size_t from = *at > better ? *at - better : 0;
        return Reply::xml(writeFlatReply(context.list(ranked, from, *at + worse + 1)));
    }
    const std::uint32_t perPage = positiveOr(request.param("page_size"), 25);
    const std::uint32_t page = at ? static_cast<std::uint32_t>(*at / perPage + 1) : 1;
    return Reply::xml(writeFlatReply(context.page(ranked, page, perPage)));
}

Reply pageQuery(const Context& context, const ScoreQueryOptions& options, const Request& request,
                const std::string& board)
{
    const bool friendsOnly = request.param("friends_leaderboard") == "1";
    std::vector<std::string> circle{request.userId};
    if (friendsOnly) {
        if (auto me = context.server.accounts().user(request.userId)) {
            circle.insert(circle.end(), me->friends.begin(), me->friends.end());
        }
    }
    const auto days = wholeNumber(request.param("interval"));
    const std::int64_t since = days && *days > 0 ? context.server.now() - *days * 86400 : INT64_MIN;
    auto ranked = context.ranking(board, [&](const StoredScore& score) {
        if (score.acceptedAt < since) return false;
        return !friendsOnly || std::find(circle.begin(), circle.end(), score.userId) != circle.end();
    });
    // How far away each score was posted, from where the player last said they are.
    const auto me = context.server.accounts().user(request.userId);
    if (me && me->position) {
        for (auto& entry : ranked) {
            if (entry.score.latitude && entry.score.longitude) {
                entry.distance = milesBetween(me->position->latitude, me->position->longitude,
                                              *entry.score.latitude, *entry.score.longitude);
            }
        }
    }
    const std::uint32_t page = positiveOr(request.param("page"), 1);
    const std::uint32_t pageSize = positiveOr(request.param("page_size"), 25);
    if (friendsOnly && options.flatFriendsRanking) {
        return Reply::xml(writeFlatReply(context.page(ranked, page, pageSize)));
    }
    std::vector<ResourceSection> sections;
    ResourceSection mine{"My Score", "my_score", {}};
    if (auto at = positionOf(ranked, request.userId)) {
        mine.list.resources.push_back(context.node(ranked[*at]));
    } else if (options.unrankedMyScore) {
        StoredScore none;
        none.userId = request.userId;
        none.leaderboardId = board;
        mine.list.resources.push_back(context.node(Ranked{none, -1, std::nullopt}));
    }
    sections.push_back(std::move(mine));
    const auto compared = request.param("compared_user_id");
    if (compared && !compared->empty()) {
        ResourceSection theirs{"Compared Score", "compared_score", {}};
        if (auto at = positionOf(ranked, *compared)) {
            theirs.list.resources.push_back(context.node(ranked[*at]));
        }
        sections.push_back(std::move(theirs));
    }
    sections.push_back(ResourceSection{friendsOnly ? "Friends" : "High Scores", friendsOnly ? "friends" : "everyone",
                                       context.page(ranked, page, pageSize)});
    return Reply::xml(writeSectionedReply(sections));
}

Reply distributedRange(const Context& context, const Request& request)
{
    const auto board = request.pathParam("id").value_or("");
    const auto start = wholeNumber(request.pathParam("start"));
    const auto delta = wholeNumber(request.pathParam("delta"));
    const auto page = wholeNumber(request.pathParam("page"));
    const auto size = wholeNumber(request.pathParam("size"));
    if (!start || !delta || !page || !size || *delta < 1 || *page < 1 || *size < 1 || *size > 1000) {
        return Reply::text(422, "start, delta, page and size must be whole numbers, the last three above 0");
    }
    const auto ranked = context.ranking(board, [](const StoredScore&) { return true; });
    ResourceList list;
    for (std::int64_t k = (*page - 1) * *size; k < *page * *size; ++k) {
        // Ranges past the 64-bit scores hold nothing; the last one ends at
        // the largest score.
        std::int64_t low = 0;
        std::int64_t high = 0;
        if (__builtin_mul_overflow(k, *delta, &low) || __builtin_add_overflow(low, *start, &low)) {
            break;
        }
        const bool last = __builtin_add_overflow(low, *delta, &high);
        for (const auto& entry : ranked) {
            if (entry.score.score >= low && (last || entry.score.score < high)) {
                list.resources.push_back(context.node(entry));
                break;
            }
        }
    }
    return Reply::xml(writeFlatReply(list));
}

}  // namespace

std::shared_ptr<ScoreQueryOptions> registerScoreQueryRoutes(Server& server, std::shared_ptr<ScoreStore> scores,
                                                            std::shared_ptr<StorageBucket> bucket,
                                                            SortOrderLookup descending)
{
    auto options = std::make_shared<ScoreQueryOptions>();
    auto context = std::make_shared<Context>(Context{server, *scores, bucket.get(), std::move(descending)});
    // The context points into these; the routes keep them alive.
    auto keep = std::make_shared<std::pair<std::shared_ptr<ScoreStore>, std::shared_ptr<StorageBucket>>>(scores,
                                                                                                        bucket);
    server.addRoute("GET", "client_applications/@me/high_scores.xml", Access::User,
                    [context, keep, options](const Request& request) {
                        if (request.param("across_leaderboards") == "1") return allOfMine(*context, request);
                        const auto board = request.param("leaderboard_id").value_or("");
                        if (request.param("geolocation") == "1") return nearLocation(*context, request, board);
                        if (request.param("near_user_id") == "me") return aroundMe(*context, request, board);
                        return pageQuery(*context, *options, request, board);
                    });
    server.addRoute("GET", "leaderboards/{id}/high_scores/range/{start}/{delta}/{page}/{size}.xml", Access::Consumer,
                    [context, keep](const Request& request) { return distributedRange(*context, request); });
    server.addRoute("POST", "high_scores/{id}/invalidate_blob.xml", Access::User, [keep](const Request& request) {
        if (!keep->first->invalidateBlob(request.pathParam("id").value_or(""))) {
            return Reply::text(404, "no such score");
        }
        return Reply::xml(writeFlatReply({}));
    });
    return options;
}

}  // namespace localserver

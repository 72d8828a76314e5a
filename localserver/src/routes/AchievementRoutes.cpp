#include "localserver/routes/AchievementRoutes.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "localserver/Server.h"
#include "localserver/routes/SocialReplies.h"

namespace localserver {

using social::flag;

namespace {

std::optional<long long> integer(const std::optional<std::string>& text)
{
    if (!text || text->empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text->c_str(), &end, 10);
    if (errno != 0 || end == nullptr || *end != '\0') return std::nullopt;
    return value;
}

// A finite decimal number, or nothing ("nan", "inf", "", "40%").
std::optional<double> decimal(const std::string& text)
{
    if (text.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || end == nullptr || *end != '\0' || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string percentText(double percent)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", percent);
    return text;
}

XmlNode definitionNode(const AchievementDefinition& d)
{
    return resourceNode("achievement", d.id,
                        {{"title", d.title},
                         {"description", d.description},
                         {"gamerscore", std::to_string(d.gamerscore)},
                         {"icon_url", d.iconUrl},
                         {"is_secret", d.isSecret ? "true" : "false"},
                         {"position", std::to_string(d.position)},
                         {"start_version", d.startVersion},
                         {"end_version", d.endVersion}});
}

void addProgress(XmlNode& node, const std::optional<AchievementProgress>& progress)
{
    node.add("percent_complete", percentText(progress ? progress->percentComplete : 0.0));
    if (progress && progress->unlockedAt) node.add("unlock_date", formatUnlockDate(*progress->unlockedAt));
}

}  // namespace

std::string formatUnlockDate(std::int64_t secondsSinceEpoch)
{
    const auto seconds = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm utc{};
    if (gmtime_r(&seconds, &utc) == nullptr) return {};
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
    return std::string(text, length);
}

std::string AchievementStore::load(const Fixtures& fixtures)
{
    std::lock_guard lock(mutex_);
    std::string error;
    for (const auto& record : fixtures.ofKind("achievement")) {
        AchievementDefinition d;
        d.id = record.field("id").value_or("");
        const auto id = integer(d.id);
        if (!id || *id <= 0) {
            if (error.empty()) error = record.origin + ": [achievement] needs a positive \"id\"";
            continue;
        }
        d.gameId = record.field("game").value_or(defaults::kGameId);
        d.title = record.field("title").value_or("");
        d.description = record.field("description").value_or("");
        d.gamerscore = static_cast<std::uint32_t>(std::clamp<long long>(integer(record.field("gamerscore")).value_or(0), 0, 1000000));
        d.isSecret = flag(record.field("is_secret"));
        d.iconUrl = record.field("icon_url").value_or("");
        d.position = static_cast<std::uint32_t>(std::clamp<long long>(integer(record.field("position")).value_or(0), 0, 1000000));
        d.startVersion = record.field("start_version").value_or("0000.00.00");
        d.endVersion = record.field("end_version").value_or("9999.99.99");
        definitions_.push_back(std::move(d));
    }
    std::stable_sort(definitions_.begin(), definitions_.end(), [](const auto& a, const auto& b) {
        if (a.position != b.position) return a.position < b.position;
        return integer(a.id).value_or(0) < integer(b.id).value_or(0);
    });
    return error;
}

std::vector<AchievementDefinition> AchievementStore::definitions(const std::string& gameId) const
{
    std::lock_guard lock(mutex_);
    std::vector<AchievementDefinition> ofGame;
    for (const auto& d : definitions_)
        if (d.gameId == gameId) ofGame.push_back(d);
    return ofGame;
}

std::optional<AchievementDefinition> AchievementStore::definition(const std::string& id) const
{
    std::lock_guard lock(mutex_);
    for (const auto& d : definitions_)
        if (d.id == id) return d;
    return std::nullopt;
}

std::optional<AchievementProgress> AchievementStore::record(const std::string& userId, const std::string& achievementId,
                                                            double percent, std::int64_t now)
{
    std::lock_guard lock(mutex_);
    if (std::none_of(definitions_.begin(), definitions_.end(), [&](const auto& d) { return d.id == achievementId; }))
        return std::nullopt;
    ++acceptedEntries_;
    auto& held = progress_[{userId, achievementId}];
    percent = std::clamp(percent, 0.0, 100.0);
    if (percent > held.percentComplete) held.percentComplete = percent;
    if (held.percentComplete >= 100.0 && !held.unlockedAt) held.unlockedAt = now;
    return held;
}

std::optional<AchievementProgress> AchievementStore::progress(const std::string& userId,
                                                              const std::string& achievementId) const
{
    std::lock_guard lock(mutex_);
    auto it = progress_.find({userId, achievementId});
    if (it == progress_.end()) return std::nullopt;
    return it->second;
}

std::map<std::string, AchievementProgress> AchievementStore::progressOf(const std::string& userId) const
{
    std::lock_guard lock(mutex_);
    std::map<std::string, AchievementProgress> result;
    for (const auto& [key, value] : progress_)
        if (key.first == userId) result.emplace(key.second, value);
    return result;
}

std::size_t AchievementStore::acceptedEntries() const
{
    std::lock_guard lock(mutex_);
    return acceptedEntries_;
}

XmlNode AchievementStore::offlineAchievementsNode(const std::string& userId) const
{
    const auto all = definitions();
    XmlNode achievements = XmlNode::parent("achievements");
    for (const auto& d : all) {
        XmlNode node = definitionNode(d);
        addProgress(node, progress(userId, d.id));
        achievements.add(std::move(node));
    }
    return achievements;
}

void addDefaultAchievementFixtures(Fixtures& fixtures)
{
    auto add = [&](Params fields) {
        fixtures.records.push_back(FixtureRecord{"achievement", std::move(fields), "built-in achievements"});
    };
    add({{"id", "1"}, {"title", "First Light"}, {"description", "Clear the first level."}, {"gamerscore", "10"},
         {"icon_url", "images/achievements/first_light.png"}, {"position", "1"}});
    add({{"id", "2"}, {"title", "Stone Breaker"}, {"description", "Break 1000 stones."}, {"gamerscore", "20"},
         {"icon_url", "images/achievements/stone_breaker.png"}, {"position", "2"}});
    add({{"id", "3"}, {"title", "Three Stars"}, {"description", "Earn three stars on every level."},
         {"gamerscore", "50"}, {"icon_url", "images/achievements/three_stars.png"}, {"position", "3"}});
    add({{"id", "4"}, {"title", "Insect Friend"}, {"description", "Finish a level without hitting an insect."},
         {"gamerscore", "15"}, {"is_secret", "true"}, {"icon_url", "images/achievements/insect_friend.png"},
         {"position", "4"}});
    add({{"id", defaults::kRetiredAchievementId}, {"title", "Early Bird"}, {"description", "Played the first release."},
         {"gamerscore", "5"}, {"position", "5"}, {"end_version", "0000.09.00"}});
    for (unsigned i = 1; i <= defaults::kOtherGameAchievementCount; ++i) {
        add({{"id", std::to_string(200 + i)}, {"game", defaults::kOtherGameId}, {"title", "Comet " + std::to_string(i)},
             {"description", "Catch comet " + std::to_string(i) + "."}, {"gamerscore", "5"},
             {"position", std::to_string(i)}});
    }
}

std::shared_ptr<AchievementStore> registerAchievementRoutes(Server& server)
{
    auto store = std::make_shared<AchievementStore>();
    store->load(server.fixtures());

    server.addRoute(
        "GET", "client_applications/@me/achievement_definitions.xml", Access::User, [store](const Request& request) {
            const auto byApp = request.param("by_app");
            const auto all = store->definitions(byApp && !byApp->empty() ? *byApp : request.gameId);
            const long long perPageAsked = integer(request.param("per_page")).value_or(AchievementStore::kDefaultPerPage);
            const auto perPage = static_cast<std::uint32_t>(std::clamp<long long>(perPageAsked, 1, 100));
            const auto pageNumber =
                static_cast<std::uint32_t>(std::clamp<long long>(integer(request.param("page")).value_or(1), 1, 1 << 20));
            const bool unlockedInfo = flag(request.param("get_unlocked_info"));
            const auto compared = request.param("compared_to_user_id");

            ResourceList list;
            list.header = paginate(static_cast<std::uint32_t>(all.size()), pageNumber, perPage);
            const std::size_t from = std::size_t{pageNumber - 1} * perPage;
            for (std::size_t i = from; i < all.size() && i < from + perPage; ++i) {
                XmlNode node = definitionNode(all[i]);
                if (unlockedInfo) addProgress(node, store->progress(request.userId, all[i].id));
                if (compared && !compared->empty()) {
                    const auto theirs = store->progress(*compared, all[i].id);
                    node.add("compared_to_user_id", *compared);
                    node.add("is_unlocked_by_compared_to_user",
                             theirs && theirs->percentComplete >= 100.0 ? "true" : "false");
                }
                list.resources.push_back(std::move(node));
            }
            return Reply::xml(writeFlatReply(list));
        });

    server.addRoute("POST", "users/@me/unlocked_achievements.xml", Access::User, [store, &server](const Request& request) {
        const auto ids = request.paramValues("achievement_list[][achievement_definition_id]");
        const auto percents = request.paramValues("achievement_list[][percent_complete]");
        if (ids.size() != percents.size()) {
            return Reply::text(422, "achievement_list entries need both an id and a percentage");
        }
        const std::int64_t now = server.now();
        ResourceList list;
        for (std::size_t i = 0; i < ids.size(); ++i) {
            XmlNode entry = XmlNode::parent("unlocked_achievement");
            const auto percent = decimal(percents[i]);
            const auto before = store->progress(request.userId, ids[i]);
            auto definition = store->definition(ids[i]);
            if (definition && definition->gameId != request.gameId) definition.reset();
            const auto held =
                percent && definition ? store->record(request.userId, ids[i], *percent, now) : std::nullopt;
            if (!held || !definition) {
                entry.add(XmlNode::parent("achievement_definition").add("id", ids[i]));
                entry.add("result", "invalid");
                entry.add("percent_complete", percentText(before ? before->percentComplete : 0.0));
            } else {
                // The player's gamerscore counts each unlock once, as the
                // bootstrap reports it.
                if (held->percentComplete >= 100.0 && !(before && before->percentComplete >= 100.0))
                    server.accounts().addGamerscore(request.userId, definition->gamerscore);
                XmlNode achieved = XmlNode::parent("achievement_definition");
                achieved.add("id", definition->id);
                achieved.add("gamerscore", std::to_string(definition->gamerscore));
                if (held->unlockedAt) achieved.add("unlock_date", formatUnlockDate(*held->unlockedAt));
                entry.add(std::move(achieved));
                entry.add("result", held->percentComplete >= 100.0 ? "unlocked" : "updated");
                entry.add("percent_complete", percentText(held->percentComplete));
            }
            list.resources.push_back(std::move(entry));
        }
        return Reply::xml(writeFlatReply(list));
    });
    return store;
}

}  // namespace localserver

#pragma once
// The game's achievements and each player's progress on them:
//
//   GET  "client_applications/@me/achievement_definitions.xml"
//        The signed game's achievements in position order, pages of
//        "per_page" (25 when not sent, at most 100), 1-based "page". "by_app"
//        names the game when sent: its achievements are listed instead of
//        the signed game's. With "get_unlocked_info" 1 each carries the signed player's
//        "percent_complete" and, once at 100, "unlock_date"; with
//        "compared_to_user_id" also "compared_to_user_id" and
//        "is_unlocked_by_compared_to_user".
//   POST "users/@me/unlocked_achievements.xml"
//        The form achievement_list[][achievement_definition_id] and
//        achievement_list[][percent_complete], one pair per entry. Each entry
//        is answered, in order, by an "unlocked_achievement": its
//        "achievement_definition" (id, gamerscore, unlock date), "result"
//        ("unlocked", "updated", or "invalid" for an unknown id or a
//        percentage that is no number, or one of another game) and the
//        "percent_complete" the server
//        now holds. Progress is never lowered: the server keeps the highest
//        value it was sent, and the unlock date of the first 100. Ids and
//        percentages of different counts: 422, nothing stored.
//
// Definitions come from "[achievement]" fixture records: id, game (the
// signed game when absent), title,
// description, gamerscore, is_secret, icon_url, position, start_version,
// end_version. Every method locks: tests read the progress and count the
// posts while connection threads serve.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "localserver/Fixtures.h"
#include "localserver/XmlWriter.h"

namespace localserver {
class Server;

namespace defaults {
// Built-in achievements: 1 to 4 belong to every version of the game; 5 ended
// with version 0000.09.00 and is no longer offered.
inline constexpr const char* kFirstAchievementId = "1";
inline constexpr const char* kRetiredAchievementId = "5";
// Another game, with more achievements than one page holds, none unlocked.
inline constexpr const char* kOtherGameId = "2";
inline constexpr unsigned kOtherGameAchievementCount = 27;
}  // namespace defaults

struct AchievementDefinition {
    std::string id;
    std::string gameId;
    std::string title;
    std::string description;
    std::uint32_t gamerscore = 0;
    bool isSecret = false;
    std::string iconUrl;
    std::uint32_t position = 0;
    std::string startVersion;
    std::string endVersion;
};

struct AchievementProgress {
    double percentComplete = 0.0;
    std::optional<std::int64_t> unlockedAt;  // the first time it reached 100
};

class AchievementStore {
public:
    static constexpr std::uint32_t kDefaultPerPage = 25;

    // Reads the "[achievement]" records; answers what was wrong ("" when
    // nothing was).
    std::string load(const Fixtures& fixtures);
    // The game's, in position order, then id order.
    std::vector<AchievementDefinition> definitions(const std::string& gameId = defaults::kGameId) const;
    std::optional<AchievementDefinition> definition(const std::string& id) const;

    // Raises the player's progress to `percent` (capped at 100) at time
    // `now`; a lower value changes nothing. Answers the progress now held,
    // nothing for an unknown achievement.
    std::optional<AchievementProgress> record(const std::string& userId, const std::string& achievementId,
                                              double percent, std::int64_t now);
    std::optional<AchievementProgress> progress(const std::string& userId, const std::string& achievementId) const;
    // Every achievement the player has progress on, by id.
    std::map<std::string, AchievementProgress> progressOf(const std::string& userId) const;
    // How many entries the upload route has accepted (every post counts
    // each of its valid entries).
    std::size_t acceptedEntries() const;

    // The "achievements" element of the bootstrap's offline block: every
    // definition with the player's progress.
    XmlNode offlineAchievementsNode(const std::string& userId) const;

private:
    mutable std::mutex mutex_;
    std::vector<AchievementDefinition> definitions_;
    std::map<std::pair<std::string, std::string>, AchievementProgress> progress_;
    std::size_t acceptedEntries_ = 0;
};

// "2026-01-01 00:00:05": the date and time in UTC without a zone, which the
// client reads as GMT.
std::string formatUnlockDate(std::int64_t secondsSinceEpoch);

void addDefaultAchievementFixtures(Fixtures& fixtures);

// Adds the routes over a store loaded from the server's fixtures and answers it.
std::shared_ptr<AchievementStore> registerAchievementRoutes(Server& server);

}  // namespace localserver

#pragma once
// The game's leaderboards and what the bootstrap reply carries for the
// client's offline store:
//
//   GET  "client_applications/{id or @me}/leaderboards.xml"
//        The active, visible leaderboards of the signed game ("@me" or its
//        own id; any other id: an empty list), in fixture order. Each
//        "leaderboard" has its id, name and "descending_sort_order", and,
//        when the request carries a user token and that player has a score
//        there, "current_user_high_score"; with "compared_user_id" also
//        "compared_user_high_score" for that player.
//
//   The bootstrap's second object, "offline": "achievements" (the game's
//   achievements with the player's progress), "leaderboards" (every
//   definition with all its flags and, where the player has one, the best
//   score the server holds: "score", "reached_at" as "yyyy-MM-dd HH:mm:ss"
//   UTC, "display_text", "custom_data") and "leaderboard_aggregations".
//
// Definitions come from "[leaderboard]" fixture records (id, name, active,
// visible, descending_sort_order, is_aggregate, allow_posting_lower_scores,
// start_version, end_version; the flags "1" or "0", active, visible and
// descending default to 1, the versions to the widest range) and links from
// "[leaderboard_aggregation]" records (aggregate, feeds). Scores are read from
// the score route's store. Pure reads after loading; any thread.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "localserver/Fixtures.h"
#include "localserver/XmlWriter.h"

namespace localserver {
class AchievementStore;
class ScoreStore;
class Server;
struct StoredScore;

namespace defaults {
// Built-in boards: 1 "High Score" (higher first) feeds the aggregate 3
// "Total Score"; 2 "Fewest Moves" ranks lower first; 4 is retired (inactive).
inline constexpr const char* kHighScoreBoardId = "1";
inline constexpr const char* kFewestMovesBoardId = "2";
inline constexpr const char* kTotalBoardId = "3";
inline constexpr const char* kRetiredBoardId = "4";
}  // namespace defaults

struct LeaderboardDefinition {
    std::string id;
    std::string name;
    bool active = true;
    bool visible = true;
    bool descendingSortOrder = true;
    bool isAggregate = false;
    bool allowPostingLowerScores = false;
    std::string startVersion = "0000.00.00";
    std::string endVersion = "9999.99.99";
};

struct LeaderboardAggregation {
    std::string aggregateId;
    std::string feedsId;
};

class LeaderboardStore {
public:
    // Reads the records; answers what was wrong ("" when nothing was).
    std::string load(const Fixtures& fixtures);
    const std::vector<LeaderboardDefinition>& definitions() const { return definitions_; }
    const std::vector<LeaderboardAggregation>& aggregations() const { return aggregations_; }

    // The player's best score the server holds on the board, in its order.
    static std::optional<StoredScore> bestScore(const ScoreStore& scores, const LeaderboardDefinition& board,
                                                const std::string& userId);
    // The bootstrap's "offline" object for the player.
    XmlNode offlineNode(const ScoreStore& scores, const AchievementStore& achievements,
                        const std::string& userId) const;

private:
    std::vector<LeaderboardDefinition> definitions_;
    std::vector<LeaderboardAggregation> aggregations_;
};

// Adds the list route and makes the bootstrap reply carry the offline
// object (unless a test set a fixed one); answers the store.
std::shared_ptr<LeaderboardStore> registerLeaderboardRoutes(Server& server, std::shared_ptr<ScoreStore> scores,
                                                            std::shared_ptr<AchievementStore> achievements);

void addDefaultLeaderboardFixtures(Fixtures& fixtures);

}  // namespace localserver

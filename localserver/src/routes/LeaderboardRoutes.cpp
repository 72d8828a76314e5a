#include "localserver/routes/LeaderboardRoutes.h"

#include <ctime>
#include <map>

#include "localserver/Accounts.h"
#include "localserver/LoginState.h"
#include "localserver/Server.h"
#include "localserver/routes/AchievementRoutes.h"
#include "localserver/routes/ScoreRoutes.h"

namespace localserver {

namespace {

std::string flag(bool value)
{
    return value ? "1" : "0";
}

// "1"/"true" are set, "0"/"false" clear; anything else is an error.
bool readFlag(const FixtureRecord& record, const char* name, bool& value, std::string& error)
{
    auto text = record.field(name);
    if (!text) return true;
    if (*text == "1" || *text == "true") {
        value = true;
    } else if (*text == "0" || *text == "false") {
        value = false;
    } else {
        error += record.origin + ": " + name + " is not 1 or 0\n";
        return false;
    }
    return true;
}

std::string utcText(std::int64_t seconds)
{
    std::time_t time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    gmtime_r(&time, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return text;
}

bool better(const LeaderboardDefinition& board, std::int64_t a, std::int64_t b)
{
    return board.descendingSortOrder ? a > b : a < b;
}

XmlNode highScoreNode(const char* element, const StoredScore& score, const std::optional<User>& user, int rank)
{
    XmlNode node = XmlNode::parent(element);
    node.add("id", score.id);
    node.add("score", std::to_string(score.score));
    node.add("rank", std::to_string(rank));
    node.add("leaderboard_id", score.leaderboardId);
    if (score.displayText) node.add("display_text", *score.displayText);
    if (score.customData) node.add("custom_data", *score.customData);
    XmlNode userNode = XmlNode::parent("user");
    userNode.add("id", score.userId);
    if (user && !user->name.empty()) userNode.add("name", user->name);
    node.add(std::move(userNode));
    return node;
}

// 1 + the players whose best beats this score.
int rankOf(const ScoreStore& scores, const LeaderboardDefinition& board, const StoredScore& score)
{
    std::map<std::string, std::int64_t> bestByUser;
    for (const auto& s : scores.scores(board.id)) {
        auto found = bestByUser.find(s.userId);
        if (found == bestByUser.end() || better(board, s.score, found->second)) bestByUser[s.userId] = s.score;
    }
    int rank = 1;
    for (const auto& [user, best] : bestByUser) rank += better(board, best, score.score) ? 1 : 0;
    return rank;
}

}  // namespace

std::string LeaderboardStore::load(const Fixtures& fixtures)
{
    std::string error;
    for (const auto& record : fixtures.ofKind("leaderboard")) {
        LeaderboardDefinition board;
        board.id = record.field("id").value_or("");
        if (board.id.empty()) {
            error += record.origin + ": a leaderboard needs an id\n";
            continue;
        }
        board.name = record.field("name").value_or("Leaderboard " + board.id);
        bool ok = readFlag(record, "active", board.active, error) && readFlag(record, "visible", board.visible, error) &&
                  readFlag(record, "descending_sort_order", board.descendingSortOrder, error) &&
                  readFlag(record, "is_aggregate", board.isAggregate, error) &&
                  readFlag(record, "allow_posting_lower_scores", board.allowPostingLowerScores, error);
        if (!ok) continue;
        board.startVersion = record.field("start_version").value_or(board.startVersion);
        board.endVersion = record.field("end_version").value_or(board.endVersion);
        definitions_.push_back(board);
    }
    for (const auto& record : fixtures.ofKind("leaderboard_aggregation")) {
        auto aggregate = record.field("aggregate");
        auto feeds = record.field("feeds");
        if (!aggregate || !feeds) {
            error += record.origin + ": an aggregation needs aggregate and feeds\n";
            continue;
        }
        aggregations_.push_back({*aggregate, *feeds});
    }
    return error;
}

std::optional<StoredScore> LeaderboardStore::bestScore(const ScoreStore& scores, const LeaderboardDefinition& board,
                                                       const std::string& userId)
{
    std::optional<StoredScore> best;
    for (const auto& score : scores.scores(board.id)) {
        if (score.userId == userId && (!best || better(board, score.score, best->score))) best = score;
    }
    return best;
}

XmlNode LeaderboardStore::offlineNode(const ScoreStore& scores, const AchievementStore& achievements,
                                      const std::string& userId) const
{
    XmlNode leaderboards = XmlNode::parent("leaderboards");
    for (const auto& board : definitions_) {
        XmlNode node = XmlNode::parent("leaderboard");
        node.add("id", board.id);
        node.add("name", board.name);
        node.add("active", flag(board.active));
        node.add("allow_posting_lower_scores", flag(board.allowPostingLowerScores));
        node.add("descending_sort_order", flag(board.descendingSortOrder));
        node.add("is_aggregate", flag(board.isAggregate));
        node.add("visible", flag(board.visible));
        node.add("start_version", board.startVersion);
        node.add("end_version", board.endVersion);
        if (auto best = bestScore(scores, board, userId)) {
            node.add("score", std::to_string(best->score));
            node.add("reached_at", utcText(best->acceptedAt));
            if (best->displayText) node.add("display_text", *best->displayText);
            if (best->customData) node.add("custom_data", *best->customData);
        }
        leaderboards.add(std::move(node));
    }
    XmlNode links = XmlNode::parent("leaderboard_aggregations");
    for (const auto& link : aggregations_) {
        links.add(XmlNode::parent("leaderboard_aggregation", {XmlNode::leaf("aggregate_leaderboard_id", link.aggregateId),
                                                              XmlNode::leaf("leaderboard_pushing_changes_id", link.feedsId)}));
    }
    return XmlNode::parent("offline",
                           {achievements.offlineAchievementsNode(userId), std::move(leaderboards), std::move(links)});
}

std::shared_ptr<LeaderboardStore> registerLeaderboardRoutes(Server& server, std::shared_ptr<ScoreStore> scores,
                                                            std::shared_ptr<AchievementStore> achievements)
{
    auto store = std::make_shared<LeaderboardStore>();
    store->load(server.fixtures());

    server.addRoute(
        "GET", "client_applications/{id}/leaderboards.xml", Access::Consumer,
        [&server, store, scores](const Request& request) {
            const auto game = request.pathParam("id");
            ResourceList list;
            if (game != "@me" && game != request.gameId) return Reply::xml(writeFlatReply(list));
            const auto compared = request.param("compared_user_id");
            for (const auto& board : store->definitions()) {
                if (!board.active || !board.visible) continue;
                XmlNode node = resourceNode("leaderboard", board.id,
                                            {{"name", board.name},
                                             {"descending_sort_order", flag(board.descendingSortOrder)}});
                auto addScore = [&](const char* element, const std::string& userId) {
                    if (auto best = LeaderboardStore::bestScore(*scores, board, userId))
                        node.add(highScoreNode(element, *best, server.accounts().user(userId),
                                               rankOf(*scores, board, *best)));
                };
                if (!request.userId.empty()) addScore("current_user_high_score", request.userId);
                if (compared && !compared->empty()) addScore("compared_user_high_score", *compared);
                list.resources.push_back(std::move(node));
            }
            return Reply::xml(writeFlatReply(list));
        });

    server.login().setOfflineBlockSource([store, scores, achievements](const std::string& userId) {
        return std::optional<XmlNode>(store->offlineNode(*scores, *achievements, userId));
    });
    return store;
}

void addDefaultLeaderboardFixtures(Fixtures& fixtures)
{
    auto add = [&](const char* kind, Params fields) {
        fixtures.records.push_back(FixtureRecord{kind, std::move(fields), "built-in leaderboards"});
    };
    add("leaderboard", {{"id", defaults::kHighScoreBoardId}, {"name", "High Score"}});
    add("leaderboard", {{"id", defaults::kFewestMovesBoardId}, {"name", "Fewest Moves"}, {"descending_sort_order", "0"}});
    add("leaderboard", {{"id", defaults::kTotalBoardId}, {"name", "Total Score"}, {"is_aggregate", "1"}});
    add("leaderboard", {{"id", defaults::kRetiredBoardId}, {"name", "First Season"}, {"active", "0"}});
    add("leaderboard_aggregation", {{"aggregate", defaults::kTotalBoardId}, {"feeds", defaults::kHighScoreBoardId}});
}

}  // namespace localserver

#pragma once
// Reading scores back from the score route's store. Rankings hold each
// player's best score per leaderboard, best first (higher first unless the
// board's order says lower), ties in the order accepted; rank 1 is the best.
//
//   GET "client_applications/@me/high_scores.xml"    user token required.
//     "across_leaderboards" "1": the player's best on every board that has
//        one, each ranked on its board; flat.
//     "geolocation" "1": the board's ranking cut to scores posted with a
//        position ("lat"/"lng" of their batch), within "radius" miles of the
//        request's "lat"/"lng" when both are given, each with its "lat",
//        "lng" and "distance" (miles; 0 without a request position), ranked
//        within the area; flat page "page" of 25.
//     "near_user_id" "me" with "better_count"/"worse_count": the player's
//        score with up to that many better and worse around it; flat; empty
//        when the player has no score.
//     "near_user_id" "me" alone: the page of "page_size" that holds the
//        player (page 1 when the player has none); flat with its header.
//     otherwise the page query ("leaderboard_id", "page", "page_size",
//        "interval" days, "friends_leaderboard" with "follower_id" "me",
//        "compared_user_id"): sectioned. "My Score" holds the player's score
//        ranked in this ranking (empty without one), "Compared Score" the
//        compared player's when asked for, and the last section ("High
//        Scores" or "Friends") the page with its pagination header. Friends
//        are the players the player follows, and the player. When the
//        player has reported a position, scores posted with one carry
//        "lat", "lng" and "distance" (miles) from it. With the option
//        unrankedMyScore, a player without a score in the ranking gets a
//        "My Score" of 0 ranked -1 instead of an empty section. With the
//        option flatFriendsRanking, the friends' ranking is the page alone,
//        flat with its header, as a server without sections answers.
//   A "high_score" carries "blob_url" (the bucket's object) once its
//   attachment was uploaded and while it is not invalidated.
//   GET "leaderboards/{id}/high_scores/range/{start}/{delta}/{page}/{size}.xml"
//        consumer signature. Sample k is the score range [start + k*delta,
//        start + (k+1)*delta); page p lists, for k from (p-1)*size on, the
//        best-ranked score in each range that holds one. A page past the
//        scores is empty. Numbers that are not whole 64-bit decimals, a
//        delta, page or size below 1: 422.
//   POST "high_scores/{id}/invalidate_blob.xml"  user token; the score's
//        attachment is no longer offered; 404 for an unknown id.
//
// Connection threads; the stores lock.
#include <atomic>
#include <functional>
#include <memory>
#include <string>

namespace localserver {
class ScoreStore;
class Server;
class StorageBucket;

// YES when higher scores rank first on the board.
using SortOrderLookup = std::function<bool(const std::string& leaderboardId)>;

// Switches a test may turn while the server runs.
struct ScoreQueryOptions {
    std::atomic<bool> unrankedMyScore{false};
    std::atomic<bool> flatFriendsRanking{false};
};

// Adds the routes over the score route's store; without a lookup every
// board ranks higher scores first.
std::shared_ptr<ScoreQueryOptions> registerScoreQueryRoutes(Server& server, std::shared_ptr<ScoreStore> scores,
                              std::shared_ptr<StorageBucket> bucket, SortOrderLookup descending = nullptr);

}  // namespace localserver

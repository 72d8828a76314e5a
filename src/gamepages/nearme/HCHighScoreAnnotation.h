#pragma once
// One score on the near-me map, or the player's own pin before the player
// has a score there. Another player's score stands where it was posted,
// with a green badge; the player's own stands where the player is, with a
// red one. The badge shows a rank of 1 to 9, "-" for any other (or none).
//
// Thread: main thread.
#include <compare>
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/MapView.h"

class HCBadgeView;
class HCHighScore;
class HCLeaderboard;

class HCHighScoreAnnotation final : public platform::ui::MapAnnotation {
public:
    // `score` may be nil: the player's pin without a score.
    HCHighScoreAnnotation(std::shared_ptr<HCHighScore> score, std::shared_ptr<HCLeaderboard> leaderboardInfo);

    // The player's pin takes a score: it stands where the player is, moved
    // to the score's latitude and longitude (each when not 0) with `location`.
    void setScore(std::shared_ptr<HCHighScore> score, bool location);

    const std::shared_ptr<HCHighScore>& highScore() const { return highScore_; }
    const std::shared_ptr<HCBadgeView>& rankBadge() const { return rankBadge_; }

    // Which of two pins holds the better score by the board's order (the
    // higher first on a descending board, else the lower; a pin without a
    // score counts 0): `less` when this one does.
    std::strong_ordering compareScores(const HCHighScoreAnnotation& other) const;
    // A place among pins set by whoever ranks them; updateRankBadge shows it
    // on the badge (hidden at 0).
    int rank() const { return rank_; }
    void setRank(int rank) { rank_ = rank; }
    void updateRankBadge();

    platform::ui::Coordinate coordinate() const override { return coordinate_; }
    // The player's name and, with a score, how far from the player it was posted.
    std::optional<std::string> title() const override;
    std::optional<std::string> subtitle() const override;

private:
    void showRank();

    std::shared_ptr<HCHighScore> highScore_;
    std::shared_ptr<HCLeaderboard> leaderboardInfo_;
    std::shared_ptr<HCBadgeView> rankBadge_;
    platform::ui::Coordinate coordinate_;
    int rank_ = 0;
};

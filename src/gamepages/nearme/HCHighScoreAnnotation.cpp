#include "gamepages/nearme/HCHighScoreAnnotation.h"

#include <cstdio>

#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Location.h"
#include "scores/highscores/HCHighScore.h"
#include "scores/leaderboards/HCLeaderboard.h"
#include "uiframework/widgets/HCBadgeView.h"

namespace {

constexpr double kMilesPerMetre = 0.000621371;

platform::ui::LocationPtr playerLocation()
{
    return std::dynamic_pointer_cast<platform::ui::Location>(Halcyon::getUserLocation());
}

platform::ui::Coordinate playerCoordinate()
{
    auto location = playerLocation();
    return location ? location->coordinate() : platform::ui::Coordinate{};
}

bool isLocalPlayers(const HCHighScore& score)
{
    auto local = Halcyon::localUser();
    return local && score.user() && local->resourceId() == score.user()->resourceId();
}

}  // namespace

HCHighScoreAnnotation::HCHighScoreAnnotation(std::shared_ptr<HCHighScore> score,
                                             std::shared_ptr<HCLeaderboard> leaderboardInfo)
    : highScore_(std::move(score)), leaderboardInfo_(std::move(leaderboardInfo))
{
    HC_CHECK_MAIN_THREAD();
    if (highScore_ && !isLocalPlayers(*highScore_)) {
        rankBadge_ = HCBadgeView::greenBadge();
        coordinate_ = {highScore_->latitude(), highScore_->longitude()};
    } else {
        rankBadge_ = HCBadgeView::redBadge();
        coordinate_ = playerCoordinate();
    }
    rankBadge_->setCenter(platform::ui::Point(15, -15));
    showRank();
}

void HCHighScoreAnnotation::setScore(std::shared_ptr<HCHighScore> score, bool location)
{
    HC_CHECK_MAIN_THREAD();
    highScore_ = std::move(score);
    showRank();
    coordinate_ = playerCoordinate();
    // 0 stands for a position the score was not posted with.
    if (location && highScore_) {
        if (highScore_->latitude() != 0) coordinate_.latitude = highScore_->latitude();
        if (highScore_->longitude() != 0) coordinate_.longitude = highScore_->longitude();
    }
}

void HCHighScoreAnnotation::showRank()
{
    // Not ranked (-1) and 0 are no place in the area.
    const int rank = highScore_ ? highScore_->rank() : 0;
    if (rank >= 1 && rank <= 9) {
        rankBadge_->setValue(rank);
    } else {
        rankBadge_->setValueText("-");
    }
}

std::optional<std::string> HCHighScoreAnnotation::title() const
{
    if (!highScore_) return Halcyon::lastLoggedInUserName().value_or("");
    const auto& user = highScore_->user();
    std::string name = user ? user->name().value_or("") : std::string();
    auto from = playerLocation();
    if (!from) return name;
    const double metres = from->distanceFromLocation(platform::ui::Location({highScore_->latitude(), highScore_->longitude()}));
    const bool miles = Halcyon::userDistanceUnit() == 2;
    char distance[64];
    std::snprintf(distance, sizeof distance, " [%.1f %s]", miles ? metres * kMilesPerMetre : metres / 1000,
                  miles ? "miles" : "kms");
    return name + distance;
}

std::optional<std::string> HCHighScoreAnnotation::subtitle() const
{
    if (!highScore_ || highScore_->rank() < 1) return std::string("No Score");
    return "Rank in area " + std::to_string(highScore_->rank()) + ". " + highScore_->displayText();
}

std::strong_ordering HCHighScoreAnnotation::compareScores(const HCHighScoreAnnotation& other) const
{
    const std::int64_t mine = highScore_ ? highScore_->score() : 0;
    const std::int64_t theirs = other.highScore_ ? other.highScore_->score() : 0;
    // A board without a local definition sorts ascending.
    if (leaderboardInfo_ && leaderboardInfo_->descendingScoreOrder()) return theirs <=> mine;
    return mine <=> theirs;
}

void HCHighScoreAnnotation::updateRankBadge()
{
    HC_CHECK_MAIN_THREAD();
    rankBadge_->setValue(rank_);
}

#pragma once
// The scores of one leaderboard posted near a place ("Mapping", titled
// "Near Me"): one pin per score, the player's own among them. The first
// reply (and the one after "Find Me") frames the map around the player's
// pin; once the player has moved or zoomed the map far enough a refresh
// button asks for the scores of the area in view. Distances are in miles.
//
// A failed or dropped request takes the loading screen down and says so
// while the map is on screen (a map the player left says nothing); the pins
// stay as they were. The disclosure button of a pin's callout
// opens the profile of the player who posted the score.
//
// Thread: main thread.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Location.h"
#include "platform/ui/MapView.h"
#include "uiframework/HCViewController.h"

class HCDefaultButton;
class HCHighScore;
class HCHighScoreAnnotation;
class HCLeaderboard;
class HCPaginatedSeries;

class HCHighScoreMapViewController final : public HCViewController, public platform::ui::MapViewDelegate {
public:
    static constexpr double kMilesPerMetre = 0.000621371;
    static constexpr const char* kFailureTitle = "Near Me";
    static constexpr const char* kFailureMessage = "The scores near you could not be loaded. Please try again later.";

    // The board by id; its local definition gives the sort order.
    void setLeaderboard(const std::string& leaderboardId);
    // The scores around wherever the service places the player.
    void getScores();
    // Re-frames the map on the scores around the player.
    void findMe();
    void _clickedRefresh();
    // The pin of a score: the player's own pin for a score of the player,
    // else the pin of the score with the same id; nil when none shows it.
    std::shared_ptr<HCHighScoreAnnotation> getAnnotationForHighScore(const std::shared_ptr<HCHighScore>& score) const;
    // The pins keep the badges the service's ranks gave them: ranking only
    // the pins in view would number the same player differently as the map
    // moves, so this deliberately changes nothing. Kept for games that call it.
    void rankVisibleAnnotations() {}

    // A span of the map: twice the largest distance of a score from the
    // centre, or half a degree when all stand at the centre. Longitudes
    // wrap at the date line.
    static platform::ui::CoordinateSpan spanAround(const platform::ui::Coordinate& centre,
                                                   const std::vector<platform::ui::Coordinate>& points);

    const platform::ui::MapViewPtr& mapView() const { return mapView_; }

    void viewDidLoad() override;
    bool canReceiveCallbacksNow() const override { return true; }
    std::string kindName() const override { return "HCHighScoreMapViewController"; }
    ~HCHighScoreMapViewController() override;

    platform::ui::AnnotationViewPtr viewForAnnotation(platform::ui::MapView& mapView,
                                                      const platform::ui::MapAnnotationPtr& annotation) override;
    void regionDidChangeAnimated(platform::ui::MapView& mapView, bool animated) override;
    void mapViewDidFinishLoadingMap(platform::ui::MapView& mapView) override;
    void calloutAccessoryControlTapped(platform::ui::MapView& mapView, const platform::ui::AnnotationViewPtr& view,
                                       const std::shared_ptr<platform::ui::Control>& control) override;

private:
    void doIndexAction(const platform::ui::LocationPtr& location, int radius, const std::string& userMapMode);
    void loadAnnotationsFromHighScores(const std::shared_ptr<HCPaginatedSeries>& series);
    void setBoundaryCoordinates();
    bool isNewCoordinateInsideView() const;
    void determineIfResetShouldShow();
    void showRefreshButton(bool shown);
    bool liesInMap(platform::ui::Coordinate coordinate) const;

    platform::ui::MapViewPtr mapView_;
    std::shared_ptr<HCDefaultButton> refreshButton_;
    std::shared_ptr<HCDefaultButton> findMeButton_;
    platform::ui::LocationPtr locationOfUser_;
    platform::ui::LocationPtr locationOfCenter_;
    std::shared_ptr<HCLeaderboard> leaderboardInfo_;
    std::string leaderboardId_;
    std::shared_ptr<HCHighScoreAnnotation> annotationForUser_;
    std::vector<std::shared_ptr<HCHighScoreAnnotation>> annotations_;
    platform::ui::Coordinate boundaryCoordNE_;
    platform::ui::Coordinate boundaryCoordSW_;
    double smallestBoarderDistance_ = 0;
    int dontShowit_ = 0;
    bool receivedScores_ = false;
    bool zoomToLocation_ = true;
    // Only the latest request's answer counts.
    unsigned generation_ = 0;
};

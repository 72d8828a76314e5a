#include "gamepages/nearme/HCHighScoreMapViewController.h"

#include <algorithm>
#include <cmath>

#include "core/halcyon/Halcyon.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/users/HCUser.h"
#include "gamepages/HCProfileOpener.h"
#include "gamepages/nearme/HCHighScoreAnnotation.h"
#include "gamepages/nearme/HCHighScoreAnnotationView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/NavigationItem.h"
#include "scores/highscores/HCHighScore.h"
#include "scores/highscores/HCHighScoreService.h"
#include "scores/leaderboards/HCLeaderboardService.h"
#include "uiframework/HCPageRequestDelegates.h"
#include "uiframework/widgets/HCDefaultButton.h"

namespace {

using platform::ui::Coordinate;
using platform::ui::Location;

constexpr int kFirstRadius = 100;

double milesBetween(const Coordinate& a, const Coordinate& b)
{
    return Location(a).distanceFromLocation(Location(b)) * HCHighScoreMapViewController::kMilesPerMetre;
}

// How far apart two longitudes are, the short way round.
double longitudeGap(double a, double b)
{
    const double gap = std::fabs(a - b);
    return gap > 180 ? 360 - gap : gap;
}

double spanOf(double largestGap)
{
    return largestGap == 0 ? 0.5 : 2 * largestGap + 0.001;
}

}  // namespace

HCHighScoreMapViewController::~HCHighScoreMapViewController()
{
    if (mapView_) {
        mapView_->removeAnnotations(mapView_->annotations());
        mapView_->setDelegate(nullptr);
    }
}

platform::ui::CoordinateSpan HCHighScoreMapViewController::spanAround(const Coordinate& centre,
                                                                      const std::vector<Coordinate>& points)
{
    double latitudeGap = 0;
    double longitudeGapMax = 0;
    for (const auto& point : points) {
        latitudeGap = std::max(latitudeGap, std::fabs(centre.latitude - point.latitude));
        longitudeGapMax = std::max(longitudeGapMax, longitudeGap(centre.longitude, point.longitude));
    }
    return {spanOf(latitudeGap), spanOf(longitudeGapMax)};
}

void HCHighScoreMapViewController::setLeaderboard(const std::string& leaderboardId)
{
    HC_CHECK_MAIN_THREAD();
    leaderboardId_ = leaderboardId;
    leaderboardInfo_ = HCLeaderboardService::getLeaderboard(leaderboardId);
    annotationForUser_ = std::make_shared<HCHighScoreAnnotation>(nullptr, leaderboardInfo_);
}

void HCHighScoreMapViewController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewDidLoad();
    std::weak_ptr<HCHighScoreMapViewController> weakSelf =
        std::static_pointer_cast<HCHighScoreMapViewController>(platform::self(this));
    findMeButton_ = HCDefaultButton::greenButton(platform::ui::Rect(0, 0, 100, 30));
    findMeButton_->titleLabel()->setFont(platform::ui::Font::fontWithName("Helvetica-Bold", 13));
    findMeButton_->setTitleForAllStates("Find Me");
    findMeButton_->addTarget(this, [weakSelf](platform::ui::Control&) {
        if (auto page = weakSelf.lock()) page->findMe();
    }, platform::ui::ControlEventTouchUpInside);
    navigationItem()->setRightBarButtonItem(platform::ui::BarButtonItem::withCustomView(findMeButton_));

    setTitle("Near Me");
    mapView_ = platform::ui::MapView::make(view()->bounds());
    mapView_->setMapType(platform::ui::MapView::MapType::Standard);
    mapView_->setDelegate(std::dynamic_pointer_cast<platform::ui::MapViewDelegate>(platform::self(this)));
    view()->addSubview(mapView_);

    refreshButton_ = HCDefaultButton::greenButton(platform::ui::Rect(10, 10, 100, 30));
    refreshButton_->setTitleForAllStates("Refresh");
    refreshButton_->addTarget(this, [weakSelf](platform::ui::Control&) {
        if (auto page = weakSelf.lock()) page->_clickedRefresh();
    }, platform::ui::ControlEventTouchUpInside);
    mapView_->addSubview(refreshButton_);
    showRefreshButton(false);

    locationOfUser_ = std::dynamic_pointer_cast<Location>(Halcyon::getUserLocation());
    receivedScores_ = false;
    zoomToLocation_ = true;
}

void HCHighScoreMapViewController::getScores()
{
    doIndexAction(nullptr, kFirstRadius, "location");
}

void HCHighScoreMapViewController::findMe()
{
    zoomToLocation_ = true;
    doIndexAction(locationOfUser_, kFirstRadius, "location");
}

void HCHighScoreMapViewController::showRefreshButton(bool shown)
{
    if (!refreshButton_) return;
    refreshButton_->setEnabled(shown);
    refreshButton_->setHidden(!shown);
}

void HCHighScoreMapViewController::doIndexAction(const platform::ui::LocationPtr& location, int radius,
                                                 const std::string& userMapMode)
{
    HC_CHECK_MAIN_THREAD();
    locationOfCenter_ = location;
    showRefreshButton(false);
    showLoadingScreen();
    receivedScores_ = false;
    // Only the latest request's end counts: an older one that fails while a
    // newer one runs neither takes the newer one's loading screen down nor
    // says anything.
    const unsigned generation = ++generation_;
    auto [loaded, failed] = pageRequestDelegates<HCHighScoreMapViewController>(
        std::static_pointer_cast<HCHighScoreMapViewController>(platform::self(this)),
        [generation](auto& page, const auto& reply) {
            if (generation == page.generation_) page.loadAnnotationsFromHighScores(platform::as<HCPaginatedSeries>(reply));
        },
        [generation](auto& page, const auto&) {
            if (generation == page.generation_) page.hideLoadingScreen();
        },
        [generation](auto& page, const auto&) {
            if (generation == page.generation_) showRequestFailureAlert(kFailureTitle, kFailureMessage, "OK");
        });
    HCHighScoreService::getHighScoresFromLocation(location, radius, 1, leaderboardId_, userMapMode, loaded, failed);
}

void HCHighScoreMapViewController::loadAnnotationsFromHighScores(const std::shared_ptr<HCPaginatedSeries>& series)
{
    HC_CHECK_MAIN_THREAD();
    if (!mapView_) return;
    mapView_->removeAnnotations(mapView_->annotations());
    annotations_.clear();
    std::vector<Coordinate> positions;
    const std::string me = Halcyon::lastLoggedInUserId();
    for (const auto& object : series ? series->objects() : HCPaginatedSeries::Objects()) {
        auto score = platform::as<HCHighScore>(object);
        if (!score) continue;
        if (!locationOfCenter_ && annotations_.empty()) {
            locationOfCenter_ = Location::make(score->latitude(), score->longitude());
        }
        std::shared_ptr<HCHighScoreAnnotation> annotation;
        if (score->user() && score->user()->resourceId() == me && annotationForUser_) {
            annotationForUser_->setScore(score, true);
            annotation = annotationForUser_;
        } else {
            annotation = std::make_shared<HCHighScoreAnnotation>(score, leaderboardInfo_);
        }
        annotations_.push_back(annotation);
        positions.push_back({score->latitude(), score->longitude()});
    }
    mapView_->addAnnotations({annotations_.begin(), annotations_.end()});
    if (zoomToLocation_ && annotationForUser_) {
        const auto centre = locationOfCenter_ ? locationOfCenter_->coordinate() : annotationForUser_->coordinate();
        mapView_->setRegion({annotationForUser_->coordinate(), spanAround(centre, positions)}, true);
        // The moves of this re-framing are no reason to refresh.
        dontShowit_ = 3;
        zoomToLocation_ = false;
    }
    setBoundaryCoordinates();
    hideLoadingScreen();
    showRefreshButton(false);
    receivedScores_ = true;
}

std::shared_ptr<HCHighScoreAnnotation> HCHighScoreMapViewController::getAnnotationForHighScore(
    const std::shared_ptr<HCHighScore>& score) const
{
    HC_CHECK_MAIN_THREAD();
    if (!score) return nullptr;
    if (score->user() && score->user()->resourceId() == Halcyon::lastLoggedInUserId()) return annotationForUser_;
    for (const auto& annotation : annotations_) {
        const auto& shown = annotation->highScore();
        if (shown && shown->resourceId() && shown->resourceId() == score->resourceId()) return annotation;
    }
    return nullptr;
}

void HCHighScoreMapViewController::setBoundaryCoordinates()
{
    const auto& region = mapView_->region();
    const auto centre = region.center;
    boundaryCoordNE_ = {centre.latitude + region.span.latitudeDelta * 0.5,
                        centre.longitude + region.span.longitudeDelta * 0.5};
    boundaryCoordSW_ = {centre.latitude - region.span.latitudeDelta * 0.5,
                        centre.longitude - region.span.longitudeDelta * 0.5};
    locationOfCenter_ = std::make_shared<Location>(centre);
    smallestBoarderDistance_ = std::min(milesBetween(centre, {boundaryCoordNE_.latitude, centre.longitude}),
                                        milesBetween(centre, {centre.latitude, boundaryCoordNE_.longitude}));
}

bool HCHighScoreMapViewController::isNewCoordinateInsideView() const
{
    const auto centre = mapView_->centerCoordinate();
    if (!(boundaryCoordSW_.latitude < centre.latitude && centre.latitude < boundaryCoordNE_.latitude)) return false;
    if (boundaryCoordSW_.longitude > boundaryCoordNE_.longitude) {
        return centre.longitude < boundaryCoordNE_.longitude || centre.longitude > boundaryCoordSW_.longitude;
    }
    return boundaryCoordSW_.longitude < centre.longitude && centre.longitude < boundaryCoordNE_.longitude;
}

void HCHighScoreMapViewController::determineIfResetShouldShow()
{
    const auto& region = mapView_->region();
    const auto centre = region.center;
    const double h = milesBetween(centre, {centre.latitude + region.span.latitudeDelta * 0.5,
                                           centre.longitude + region.span.longitudeDelta * 0.5});
    bool wanted = !isNewCoordinateInsideView();
    if (!wanted && h < 1000 && locationOfCenter_) {
        const double moved = milesBetween(locationOfCenter_->coordinate(), centre);
        const double d = milesBetween(locationOfCenter_->coordinate(), boundaryCoordNE_);
        wanted = moved > 0.9 * smallestBoarderDistance_ || h * 1.5 < d || h > d * 1.5;
    }
    if (wanted && dontShowit_ <= 0) {
        showRefreshButton(true);
    } else {
        --dontShowit_;
        showRefreshButton(false);
    }
}

bool HCHighScoreMapViewController::liesInMap(Coordinate coordinate) const
{
    const auto point = mapView_->convertCoordinateToPoint(coordinate, mapView_);
    const auto frame = mapView_->frame();
    return point.x > 0 && point.x <= frame.width() && point.y > 0 && point.y <= frame.height();
}

void HCHighScoreMapViewController::_clickedRefresh()
{
    HC_CHECK_MAIN_THREAD();
    setBoundaryCoordinates();
    std::string mode = "no";
    const auto pin = annotationForUser_ ? annotationForUser_->coordinate() : Coordinate{};
    if (locationOfUser_ && liesInMap(locationOfUser_->coordinate()) &&
        std::fabs(pin.latitude - locationOfUser_->coordinate().latitude) < 1e-6 &&
        std::fabs(pin.longitude - locationOfUser_->coordinate().longitude) < 1e-6) {
        mode = "location";
    } else if (annotationForUser_ && liesInMap(pin)) {
        mode = "score";
    }
    const int radius = std::max(1L, std::lround(1.25 * smallestBoarderDistance_));
    doIndexAction(locationOfCenter_, radius, mode);
}

platform::ui::AnnotationViewPtr HCHighScoreMapViewController::viewForAnnotation(
    platform::ui::MapView& mapView, const platform::ui::MapAnnotationPtr& annotation)
{
    auto pin = std::dynamic_pointer_cast<HCHighScoreAnnotation>(annotation);
    if (!pin) return nullptr;
    auto view = std::dynamic_pointer_cast<HCHighScoreAnnotationView>(
        mapView.dequeueReusableAnnotationViewWithIdentifier(HCHighScoreAnnotationView::kReuseIdentifier));
    if (!view) view = std::make_shared<HCHighScoreAnnotationView>(pin, HCHighScoreAnnotationView::kReuseIdentifier);
    view->setHighScoreAnnotation(pin);
    return view;
}

void HCHighScoreMapViewController::regionDidChangeAnimated(platform::ui::MapView&, bool)
{
    if (receivedScores_) determineIfResetShouldShow();
}

void HCHighScoreMapViewController::mapViewDidFinishLoadingMap(platform::ui::MapView&)
{
    if (receivedScores_) determineIfResetShouldShow();
}

void HCHighScoreMapViewController::calloutAccessoryControlTapped(platform::ui::MapView&,
                                                                 const platform::ui::AnnotationViewPtr& view,
                                                                 const std::shared_ptr<platform::ui::Control>& control)
{
    HC_CHECK_MAIN_THREAD();
    if (!std::dynamic_pointer_cast<platform::ui::Button>(control) || !view) return;
    auto pin = std::dynamic_pointer_cast<HCHighScoreAnnotation>(view->annotation());
    // The player's own pin before a score has no one to show.
    const auto& score = pin ? pin->highScore() : nullptr;
    if (score && score->user()) HCProfileOpener::showProfileForUser(score->user());
}

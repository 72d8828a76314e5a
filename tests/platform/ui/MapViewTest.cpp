#include "platform/ui/MapView.h"

#include "ControllerTestFixture.h"
#include "platform/ui/Button.h"

using namespace platform::ui;
using uitest::Log;

namespace {

class Pin : public MapAnnotation {
public:
    // An empty title stands for none.
    Pin(double lat, double lon, std::string title) : at_{lat, lon}, title_(std::move(title)) {}
    Coordinate coordinate() const override { return at_; }
    std::optional<std::string> title() const override
    {
        if (title_.empty()) return std::nullopt;
        return title_;
    }

private:
    Coordinate at_;
    std::string title_;
};

class MapPage : public MapViewDelegate {
public:
    AnnotationViewPtr viewForAnnotation(MapView& map, const MapAnnotationPtr& annotation) override
    {
        log.push_back("view for " + annotation->title().value_or("?"));
        auto view = map.dequeueReusableAnnotationViewWithIdentifier("Score");
        if (!view) {
            view = std::make_shared<AnnotationView>(annotation, "Score");
            view->setBounds(Rect(0, 0, 20, 20));
            view->setCanShowCallout(true);
            view->setRightCalloutAccessoryView(Button::buttonWithType(ButtonType::DetailDisclosure));
            view->setLeftCalloutAccessoryView(View::make(Rect(0, 0, 30, 30)));
        }
        return view;
    }
    void regionDidChangeAnimated(MapView&, bool animated) override
    {
        log.push_back(animated ? "region changed animated" : "region changed");
    }
    void mapViewDidFinishLoadingMap(MapView&) override { log.push_back("loaded"); }
    void calloutAccessoryControlTapped(MapView&, const AnnotationViewPtr& view,
                                       const std::shared_ptr<Control>& control) override
    {
        log.push_back("accessory of " + view->annotation()->title().value_or("?") +
                      (std::dynamic_pointer_cast<Button>(control) ? " (button)" : ""));
    }
    Log log;
};

class MapViewTest : public uitest::ControllerTest {
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        map = MapView::make(Rect(0, 0, 200, 100));
        map->setDelegate(page);
        window->addSubview(map);
        map->setRegion({{50, 10}, {2, 4}}, false);
    }
    std::shared_ptr<MapPage> page = std::make_shared<MapPage>();
    MapViewPtr map;
};

TEST_F(MapViewTest, RegionChangesAreToldOnceEachAfterTheirAnimationAndLoadingOnce)
{
    driver.settle();
    EXPECT_EQ(page->log, (Log{"loaded", "region changed"}));
    page->log.clear();

    map->setRegion({{51, 10}, {2, 4}}, true);
    driver.wait(kMapRegionAnimationDuration / 2);
    EXPECT_TRUE(page->log.empty()) << "still moving";
    map->setRegion({{51, 10}, {2, 4}}, true);  // the same region: no change
    driver.wait(kMapRegionAnimationDuration);
    EXPECT_EQ(page->log, (Log{"region changed animated"}));

    // A second change while the first still runs ends the first at once.
    page->log.clear();
    map->setRegion({{52, 10}, {2, 4}}, true);
    map->setRegion({{53, 10}, {2, 4}}, false);
    EXPECT_EQ(page->log, (Log{"region changed animated"}));
    driver.settle();
    EXPECT_EQ(page->log, (Log{"region changed animated", "region changed"}));
    EXPECT_EQ(map->region().center.latitude, 53);
}

TEST_F(MapViewTest, AnnotationsInSightGetViewsAtTheirPointsAndLeavingViewsAreReused)
{
    auto near = std::make_shared<Pin>(50.5, 11, "Ann");  // a quarter up, a quarter right
    auto far = std::make_shared<Pin>(-30, -178, "Bob");
    map->addAnnotations({near, far});
    auto view = map->viewForAnnotation(near);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->center(), Point(150, 25));
    EXPECT_EQ(map->convertCoordinateToPoint(near->coordinate(), window), Point(150, 25));
    EXPECT_EQ(map->viewForAnnotation(far), nullptr);
    EXPECT_EQ(page->log, (Log{"view for Ann"}));

    // Across the 180th meridian, east of the centre.
    map->setRegion({{-30, 179}, {10, 10}}, false);
    auto farView = map->viewForAnnotation(far);
    EXPECT_EQ(farView, view) << "the view that left sight is handed out again";
    EXPECT_EQ(map->viewForAnnotation(near), nullptr);
    EXPECT_EQ(map->convertCoordinateToPoint(Coordinate{-30, -179}, map), Point(140, 50));

    map->removeAnnotation(far);
    EXPECT_EQ(farView->superview(), nullptr);
    EXPECT_EQ(map->annotations(), (std::vector<MapAnnotationPtr>{near}));
}

TEST_F(MapViewTest, ATappedPinShowsItsCalloutWhoseControlReachesTheDelegate)
{
    auto ann = std::make_shared<Pin>(50, 10, "Ann");
    auto untitled = std::make_shared<Pin>(50.4, 11, "");
    map->addAnnotations({ann, untitled});
    EXPECT_FALSE(driver.tapCalloutAccessory(map, ann)) << "no callout before the pin is tapped";

    EXPECT_TRUE(driver.tapView(map->viewForAnnotation(ann))) << "a finger on the pin selects it";
    EXPECT_TRUE(map->viewForAnnotation(ann)->isCalloutShown());
    EXPECT_FALSE(driver.tapCalloutAccessory(map, ann, false)) << "the left accessory is no control";
    EXPECT_TRUE(driver.tapCalloutAccessory(map, ann));
    EXPECT_EQ(page->log.back(), "accessory of Ann (button)");

    EXPECT_TRUE(driver.tapAnnotation(map, untitled));
    EXPECT_EQ(map->selectedAnnotations(), (std::vector<MapAnnotationPtr>{untitled}));
    EXPECT_FALSE(map->viewForAnnotation(untitled)->isCalloutShown()) << "no title, no callout";
    EXPECT_FALSE(driver.tapCalloutAccessory(map, untitled));
}

TEST(LocationTest, DistancesAreGreatCircleMetres)
{
    auto london = Location::make(51.5074, -0.1278);
    auto paris = Location::make(48.8566, 2.3522);
    EXPECT_NEAR(london->distanceFromLocation(*paris), 343.5e3, 1e3);
    EXPECT_NEAR(Location::make(0, 179.5)->distanceFromLocation(*Location::make(0, -179.5)), 111.2e3, 0.2e3);
    EXPECT_EQ(london->distanceFromLocation(*london), 0);
}

}  // namespace

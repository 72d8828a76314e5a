#pragma once
// A map of an area of the Earth with annotations pinned on it. Nothing is
// drawn: the map holds its region (the centre and the span of latitude and
// longitude it shows), projects coordinates linearly onto its bounds (north
// up), and keeps one annotation view for each annotation inside the region,
// asking its delegate for them as they come into sight and pooling the ones
// that leave it for reuse by identifier.
//
// The delegate (held weakly) hears that the region changed once per change:
// on the next main run loop turn for a change without animation, and after
// kMapRegionAnimationDuration on platform::Clock for an animated one (a new
// change first ends one still running). It hears that the map finished
// loading once, on the turn after the map first enters a window.
//
// A person taps an annotation's view (tapAnnotation) to select it; a selected
// view that can show a callout shows one when its annotation has a title,
// with the view's left and right accessory views. Tapping an accessory that
// is a control (tapCalloutAccessory) taps the control and tells the delegate.
//
// Thread: main thread only.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Control.h"
#include "platform/ui/Image.h"
#include "platform/ui/Location.h"
#include "platform/ui/View.h"

namespace platform::ui {

class MapView;

inline constexpr double kMapRegionAnimationDuration = 0.3;

struct CoordinateSpan {
    double latitudeDelta = 0;
    double longitudeDelta = 0;
    bool operator==(const CoordinateSpan&) const = default;
};

struct CoordinateRegion {
    Coordinate center;
    CoordinateSpan span;
    bool operator==(const CoordinateRegion&) const = default;
};

// Something pinned on the map. The map keeps its annotations alive.
class MapAnnotation {
public:
    virtual ~MapAnnotation() = default;
    virtual Coordinate coordinate() const = 0;
    // nullopt: none (a callout shows only with a title).
    virtual std::optional<std::string> title() const { return std::nullopt; }
    virtual std::optional<std::string> subtitle() const { return std::nullopt; }
};

using MapAnnotationPtr = std::shared_ptr<MapAnnotation>;

// The view that shows one annotation; it sits with its centre on the
// annotation's point, moved by centerOffset.
class AnnotationView : public View {
public:
    AnnotationView(MapAnnotationPtr annotation, std::string reuseIdentifier);

    const MapAnnotationPtr& annotation() const { return annotation_; }
    void setAnnotation(MapAnnotationPtr annotation) { HC_CHECK_MAIN_THREAD(); annotation_ = std::move(annotation); }
    const std::string& reuseIdentifier() const { return reuseIdentifier_; }
    // Also sizes the view to the image.
    void setImage(ImagePtr image);
    const ImagePtr& image() const { return image_; }
    Point centerOffset() const { return centerOffset_; }
    void setCenterOffset(Point offset) { HC_CHECK_MAIN_THREAD(); centerOffset_ = offset; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { HC_CHECK_MAIN_THREAD(); enabled_ = enabled; }
    bool canShowCallout() const { return canShowCallout_; }
    void setCanShowCallout(bool can) { HC_CHECK_MAIN_THREAD(); canShowCallout_ = can; }
    const ViewPtr& leftCalloutAccessoryView() const { return leftAccessory_; }
    void setLeftCalloutAccessoryView(ViewPtr view) { HC_CHECK_MAIN_THREAD(); leftAccessory_ = std::move(view); }
    const ViewPtr& rightCalloutAccessoryView() const { return rightAccessory_; }
    void setRightCalloutAccessoryView(ViewPtr view) { HC_CHECK_MAIN_THREAD(); rightAccessory_ = std::move(view); }

    bool isSelected() const { return selected_; }
    virtual void setSelected(bool selected, bool animated);
    // Selected, allowed to show a callout, and the annotation has a title.
    bool isCalloutShown() const;
    // Before the map hands the view out again from its reuse pool.
    virtual void prepareForReuse() {}
    // A touch on the view taps its annotation on the map.
    void touchesEnded(const TouchSet& touches, const Event& event) override;

    std::string kindName() const override { return "AnnotationView"; }
    // The annotation's title, and "callout" while the callout shows.
    std::string describe() const override;

private:
    MapAnnotationPtr annotation_;
    std::string reuseIdentifier_;
    ImagePtr image_;
    Point centerOffset_;
    bool enabled_ = true;
    bool canShowCallout_ = false;
    bool selected_ = false;
    ViewPtr leftAccessory_;
    ViewPtr rightAccessory_;
};

using AnnotationViewPtr = std::shared_ptr<AnnotationView>;

// All optional; the defaults do nothing (and give no view: the map makes a
// plain AnnotationView).
class MapViewDelegate {
public:
    virtual ~MapViewDelegate() = default;
    virtual AnnotationViewPtr viewForAnnotation(MapView& mapView, const MapAnnotationPtr& annotation);
    virtual void regionDidChangeAnimated(MapView& mapView, bool animated);
    virtual void mapViewDidFinishLoadingMap(MapView& mapView);
    virtual void calloutAccessoryControlTapped(MapView& mapView, const AnnotationViewPtr& view,
                                               const std::shared_ptr<Control>& control);
};

class MapView : public View {
public:
    // Numbers match the platform's.
    enum class MapType : int { Standard = 0, Satellite = 1, Hybrid = 2 };

    explicit MapView(const Rect& frame = Rect());
    ~MapView() override;
    static std::shared_ptr<MapView> make(const Rect& frame = Rect()) { return std::make_shared<MapView>(frame); }

    std::shared_ptr<MapViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<MapViewDelegate>& delegate) { HC_CHECK_MAIN_THREAD(); delegate_ = delegate; }
    MapType mapType() const { return mapType_; }
    void setMapType(MapType type) { HC_CHECK_MAIN_THREAD(); mapType_ = type; }

    // At first the whole world. Spans are kept within 0...180 and 0...360
    // degrees, the centre's latitude within -90...90.
    const CoordinateRegion& region() const { return region_; }
    void setRegion(const CoordinateRegion& region, bool animated);
    Coordinate centerCoordinate() const { return region_.center; }

    // --- annotations -----------------------------------------------------
    const std::vector<MapAnnotationPtr>& annotations() const { return annotations_; }
    void addAnnotation(const MapAnnotationPtr& annotation);
    void addAnnotations(const std::vector<MapAnnotationPtr>& annotations);
    void removeAnnotation(const MapAnnotationPtr& annotation);
    void removeAnnotations(const std::vector<MapAnnotationPtr>& annotations);
    // The annotation's view while it is in sight, else nullptr.
    AnnotationViewPtr viewForAnnotation(const MapAnnotationPtr& annotation);
    // A pooled view with the identifier, after its prepareForReuse; nullptr when none waits.
    AnnotationViewPtr dequeueReusableAnnotationViewWithIdentifier(const std::string& identifier);
    std::vector<MapAnnotationPtr> selectedAnnotations() const;
    void selectAnnotation(const MapAnnotationPtr& annotation, bool animated);
    void deselectAnnotation(const MapAnnotationPtr& annotation, bool animated);

    // Where the coordinate lies, in `view`'s coordinates (nullptr: the window's).
    Point convertCoordinateToPoint(Coordinate coordinate, const ViewPtr& view) const;

    // --- what a person does ------------------------------------------------
    // Taps the annotation's view: false when it is not in sight, not enabled
    // or cannot take touches.
    bool tapAnnotation(const MapAnnotationPtr& annotation);
    // Taps the left or right accessory of the callout shown for the
    // annotation: false when no callout shows or the accessory is no control
    // that takes the tap.
    bool tapCalloutAccessory(const MapAnnotationPtr& annotation, bool right = true);

    void layoutSubviews() override;
    void didMoveToWindow() override;
    std::string kindName() const override { return "MapView"; }
    // "center=(lat,lon) span=(lat x lon)".
    std::string describe() const override;

private:
    // Point in the map's bounds.
    Point project(Coordinate coordinate) const;
    void recycle(const MapAnnotationPtr& annotation);

    std::weak_ptr<MapViewDelegate> delegate_;
    MapType mapType_ = MapType::Standard;
    CoordinateRegion region_{{0, 0}, {180, 360}};
    std::vector<MapAnnotationPtr> annotations_;
    std::map<const MapAnnotation*, AnnotationViewPtr> views_;
    std::map<std::string, std::vector<AnnotationViewPtr>> reusePool_;
    uint64_t pendingRegionChange_ = 0;
    bool loadingReported_ = false;
};

using MapViewPtr = std::shared_ptr<MapView>;

}  // namespace platform::ui

#include "platform/ui/MapView.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/TextInput.h"
#include "platform/ui/Transitions.h"

namespace platform::ui {

namespace {

// Degrees east of `from` in -180...180, so a region may cross the 180th meridian.
double eastOf(double longitude, double from)
{
    double d = std::fmod(longitude - from + 180.0, 360.0);
    if (d < 0) d += 360.0;
    return d - 180.0;
}

// A span of nothing would put every coordinate off the map or at infinity.
double usableSpan(double span)
{
    return std::max(span, 1e-9);
}

}  // namespace

// --- the annotation view ----------------------------------------------------------

AnnotationView::AnnotationView(MapAnnotationPtr annotation, std::string reuseIdentifier)
    : annotation_(std::move(annotation)), reuseIdentifier_(std::move(reuseIdentifier))
{
}

void AnnotationView::setImage(ImagePtr image)
{
    HC_CHECK_MAIN_THREAD();
    image_ = std::move(image);
    if (image_) setBounds(Rect(bounds().origin, image_->size()));
}

void AnnotationView::setSelected(bool selected, bool)
{
    HC_CHECK_MAIN_THREAD();
    selected_ = selected;
}

bool AnnotationView::isCalloutShown() const
{
    if (!selected_ || !canShowCallout_ || !annotation_) return false;
    const auto title = annotation_->title();
    return title && !title->empty();
}

void AnnotationView::touchesEnded(const TouchSet&, const Event&)
{
    if (auto map = std::dynamic_pointer_cast<MapView>(superview())) map->tapAnnotation(annotation_);
}

std::string AnnotationView::describe() const
{
    std::string text;
    if (annotation_)
        if (auto title = annotation_->title()) text = quotedForDump(*title);
    if (isCalloutShown()) text += text.empty() ? "callout" : " callout";
    return text;
}

// --- the delegate's defaults --------------------------------------------------------

AnnotationViewPtr MapViewDelegate::viewForAnnotation(MapView&, const MapAnnotationPtr&) { return nullptr; }
void MapViewDelegate::regionDidChangeAnimated(MapView&, bool) {}
void MapViewDelegate::mapViewDidFinishLoadingMap(MapView&) {}
void MapViewDelegate::calloutAccessoryControlTapped(MapView&, const AnnotationViewPtr&,
                                                   const std::shared_ptr<Control>&)
{
}

// --- the map --------------------------------------------------------------------------

MapView::MapView(const Rect& frame) : View(frame) { setClipsToBounds(true); }

MapView::~MapView()
{
    if (pendingRegionChange_) Transitions::finishNow(pendingRegionChange_);
}

void MapView::setRegion(const CoordinateRegion& wanted, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    CoordinateRegion region = wanted;
    region.center.latitude = std::clamp(region.center.latitude, -90.0, 90.0);
    region.center.longitude = eastOf(region.center.longitude, 0.0);
    region.span.latitudeDelta = std::clamp(region.span.latitudeDelta, 0.0, 180.0);
    region.span.longitudeDelta = std::clamp(region.span.longitudeDelta, 0.0, 360.0);
    if (region == region_) return;
    region_ = region;
    setNeedsLayout();
    // The change still running ends first, so each change is told once, in order.
    if (pendingRegionChange_) Transitions::finishNow(pendingRegionChange_);
    std::weak_ptr<View> weak = platform::self(this);
    pendingRegionChange_ = Transitions::schedule(animated ? kMapRegionAnimationDuration : 0.0, [weak, animated] {
        auto map = std::static_pointer_cast<MapView>(weak.lock());
        if (!map) return;
        map->pendingRegionChange_ = 0;
        if (auto d = map->delegate()) d->regionDidChangeAnimated(*map, animated);
    });
}

void MapView::addAnnotation(const MapAnnotationPtr& annotation)
{
    HC_CHECK_MAIN_THREAD();
    if (!annotation || std::find(annotations_.begin(), annotations_.end(), annotation) != annotations_.end()) return;
    annotations_.push_back(annotation);
    setNeedsLayout();
}

void MapView::addAnnotations(const std::vector<MapAnnotationPtr>& annotations)
{
    for (const auto& annotation : annotations) addAnnotation(annotation);
}

void MapView::removeAnnotation(const MapAnnotationPtr& annotation)
{
    HC_CHECK_MAIN_THREAD();
    auto it = std::find(annotations_.begin(), annotations_.end(), annotation);
    if (it == annotations_.end()) return;
    const auto keep = annotation;
    annotations_.erase(it);
    recycle(keep);
}

void MapView::removeAnnotations(const std::vector<MapAnnotationPtr>& annotations)
{
    for (const auto& annotation : std::vector<MapAnnotationPtr>(annotations)) removeAnnotation(annotation);
}

void MapView::recycle(const MapAnnotationPtr& annotation)
{
    auto it = views_.find(annotation.get());
    if (it == views_.end()) return;
    auto view = it->second;
    views_.erase(it);
    view->setSelected(false, false);
    view->removeFromSuperview();
    view->setAnnotation(nullptr);
    if (!view->reuseIdentifier().empty()) reusePool_[view->reuseIdentifier()].push_back(view);
}

AnnotationViewPtr MapView::viewForAnnotation(const MapAnnotationPtr& annotation)
{
    layoutIfNeeded();
    auto it = views_.find(annotation.get());
    return it == views_.end() ? nullptr : it->second;
}

AnnotationViewPtr MapView::dequeueReusableAnnotationViewWithIdentifier(const std::string& identifier)
{
    HC_CHECK_MAIN_THREAD();
    auto it = reusePool_.find(identifier);
    if (it == reusePool_.end() || it->second.empty()) return nullptr;
    auto view = it->second.back();
    it->second.pop_back();
    view->prepareForReuse();
    return view;
}

std::vector<MapAnnotationPtr> MapView::selectedAnnotations() const
{
    std::vector<MapAnnotationPtr> selected;
    for (const auto& annotation : annotations_) {
        auto it = views_.find(annotation.get());
        if (it != views_.end() && it->second->isSelected()) selected.push_back(annotation);
    }
    return selected;
}

void MapView::selectAnnotation(const MapAnnotationPtr& annotation, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    auto view = viewForAnnotation(annotation);
    if (!view) return;
    for (const auto& other : selectedAnnotations())
        if (other != annotation) deselectAnnotation(other, animated);
    view->setSelected(true, animated);
}

void MapView::deselectAnnotation(const MapAnnotationPtr& annotation, bool animated)
{
    auto it = views_.find(annotation.get());
    if (it != views_.end() && it->second->isSelected()) it->second->setSelected(false, animated);
}

Point MapView::project(Coordinate coordinate) const
{
    const Size size = bounds().size;
    const double x = eastOf(coordinate.longitude, region_.center.longitude) / usableSpan(region_.span.longitudeDelta);
    const double y = (coordinate.latitude - region_.center.latitude) / usableSpan(region_.span.latitudeDelta);
    return Point(bounds().minX() + (x + 0.5) * size.width, bounds().minY() + (0.5 - y) * size.height);
}

Point MapView::convertCoordinateToPoint(Coordinate coordinate, const ViewPtr& view) const
{
    return convertPointTo(project(coordinate), view);
}

bool MapView::tapAnnotation(const MapAnnotationPtr& annotation)
{
    HC_CHECK_MAIN_THREAD();
    auto view = viewForAnnotation(annotation);
    if (!view || !view->isEnabled() || !canReceiveTouches(*view)) return false;
    selectAnnotation(annotation, true);
    return true;
}

bool MapView::tapCalloutAccessory(const MapAnnotationPtr& annotation, bool right)
{
    HC_CHECK_MAIN_THREAD();
    auto view = viewForAnnotation(annotation);
    if (!view || !view->isCalloutShown()) return false;
    auto control = std::dynamic_pointer_cast<Control>(right ? view->rightCalloutAccessoryView()
                                                            : view->leftCalloutAccessoryView());
    if (!control || !control->isEnabled()) return false;
    const auto keepAlive = platform::self(this);
    control->sendActionsForControlEvents(ControlEventTouchDown | ControlEventTouchUpInside);
    if (auto d = delegate()) d->calloutAccessoryControlTapped(*this, view, control);
    return true;
}

void MapView::layoutSubviews()
{
    const Rect shown = bounds();
    for (const auto& annotation : std::vector<MapAnnotationPtr>(annotations_)) {
        const Point p = project(annotation->coordinate());
        const bool inSight = p.x >= shown.minX() && p.x <= shown.maxX() && p.y >= shown.minY() && p.y <= shown.maxY();
        auto it = views_.find(annotation.get());
        if (!inSight) {
            if (it != views_.end() && !it->second->isSelected()) recycle(annotation);
            continue;
        }
        AnnotationViewPtr view = it == views_.end() ? nullptr : it->second;
        if (!view) {
            if (auto d = delegate()) view = d->viewForAnnotation(*this, annotation);
            if (!view) view = std::make_shared<AnnotationView>(annotation, "");
            // The delegate may have removed the annotation meanwhile.
            if (std::find(annotations_.begin(), annotations_.end(), annotation) == annotations_.end()) continue;
            view->setAnnotation(annotation);
            views_[annotation.get()] = view;
            addSubview(view);
        }
        const Point offset = view->centerOffset();
        view->setCenter(Point(p.x + offset.x, p.y + offset.y));
    }
}

void MapView::didMoveToWindow()
{
    if (!window() || loadingReported_) return;
    loadingReported_ = true;
    setNeedsLayout();
    std::weak_ptr<View> weak = platform::self(this);
    Thread::mainThread()->runLoop()->post([weak] {
        auto map = std::static_pointer_cast<MapView>(weak.lock());
        if (!map) return;
        if (auto d = map->delegate()) d->mapViewDidFinishLoadingMap(*map);
    });
}

std::string MapView::describe() const
{
    return "center=(" + formatNumber(region_.center.latitude) + "," + formatNumber(region_.center.longitude) +
           ") span=(" + formatNumber(region_.span.latitudeDelta) + "x" + formatNumber(region_.span.longitudeDelta) +
           ")";
}

}  // namespace platform::ui

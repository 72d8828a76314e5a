#pragma once
// The layer behind every view: the geometry the view reports (position,
// anchor point, bounds, transform), its opacity and visibility, the drawing
// attributes a screen would use (corners, border, shadow) and the animations
// attached to it by key.
//
// A view's layer is its geometry: View::center() is position(), View::frame()
// is frame(). Changing the bounds of a view's layer resizes the view's
// subviews just as View::setBounds does.
//
// Thread: main thread only.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/Object.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Image.h"

namespace platform::ui {

class View;

class Layer final : public Object {
public:
    Layer() = default;
    ~Layer() override;

    Point position() const { return position_; }
    void setPosition(Point p) { HC_CHECK_MAIN_THREAD(); position_ = p; }
    // In unit coordinates of the bounds: (0.5, 0.5) is the middle.
    Point anchorPoint() const { return anchorPoint_; }
    void setAnchorPoint(Point p) { HC_CHECK_MAIN_THREAD(); anchorPoint_ = p; }
    Rect bounds() const { return bounds_; }
    void setBounds(const Rect& bounds);
    AffineTransform transform() const { return transform_; }
    void setTransform(const AffineTransform& t) { HC_CHECK_MAIN_THREAD(); transform_ = t; }
    // The bounding box of the transformed bounds, in the superlayer's space.
    Rect frame() const;
    // Maps bounds coordinates into the superlayer's space.
    AffineTransform toParentTransform() const;

    double opacity() const { return opacity_; }
    void setOpacity(double o);  // clamped to 0...1
    bool isHidden() const { return hidden_; }
    void setHidden(bool h) { HC_CHECK_MAIN_THREAD(); hidden_ = h; }
    const std::optional<Color>& backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(std::optional<Color> c) { HC_CHECK_MAIN_THREAD(); backgroundColor_ = c; }
    bool masksToBounds() const { return masksToBounds_; }
    void setMasksToBounds(bool m) { HC_CHECK_MAIN_THREAD(); masksToBounds_ = m; }

    // What the view drew last (see View::drawRect), or nullptr.
    const std::shared_ptr<Image>& contents() const { return contents_; }
    void setContents(std::shared_ptr<Image> image) { HC_CHECK_MAIN_THREAD(); contents_ = std::move(image); }

    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double r) { HC_CHECK_MAIN_THREAD(); cornerRadius_ = r; }
    double borderWidth() const { return borderWidth_; }
    void setBorderWidth(double w) { HC_CHECK_MAIN_THREAD(); borderWidth_ = w; }
    const std::optional<Color>& borderColor() const { return borderColor_; }
    void setBorderColor(std::optional<Color> c) { HC_CHECK_MAIN_THREAD(); borderColor_ = c; }
    const std::optional<Color>& shadowColor() const { return shadowColor_; }
    void setShadowColor(std::optional<Color> c) { HC_CHECK_MAIN_THREAD(); shadowColor_ = c; }
    Size shadowOffset() const { return shadowOffset_; }
    void setShadowOffset(Size s) { HC_CHECK_MAIN_THREAD(); shadowOffset_ = s; }
    double shadowOpacity() const { return shadowOpacity_; }
    void setShadowOpacity(double o) { HC_CHECK_MAIN_THREAD(); shadowOpacity_ = o; }
    double shadowRadius() const { return shadowRadius_; }
    void setShadowRadius(double r) { HC_CHECK_MAIN_THREAD(); shadowRadius_ = r; }

    // Attaches a copy of `animation` under `key` (replacing, and so stopping,
    // any animation under the same non-empty key). nullptr is ignored.
    void addAnimation(const std::shared_ptr<Animation>& animation, const std::string& key);
    void removeAnimationForKey(const std::string& key);
    void removeAllAnimations();
    // The attached copy, or nullptr.
    std::shared_ptr<Animation> animationForKey(const std::string& key) const;
    // Keys in the order the animations were added (empty keys are left out).
    std::vector<std::string> animationKeys() const;

    // The view whose geometry this layer holds, or nullptr for a free layer.
    View* view() const { return view_; }

private:
    friend class View;
    struct Attached {
        std::string key;
        std::shared_ptr<Animation> animation;
    };

    void detach(size_t index);
    void finish(const std::shared_ptr<Animation>& animation);

    View* view_ = nullptr;  // non-owning: the view owns this layer
    Point position_;
    Point anchorPoint_{0.5, 0.5};
    Rect bounds_;
    AffineTransform transform_;
    double opacity_ = 1;
    bool hidden_ = false;
    std::optional<Color> backgroundColor_;
    bool masksToBounds_ = false;
    double cornerRadius_ = 0;
    double borderWidth_ = 0;
    std::optional<Color> borderColor_ = Color::blackColor();
    std::optional<Color> shadowColor_ = Color::blackColor();
    Size shadowOffset_{0, -3};
    double shadowOpacity_ = 0;
    double shadowRadius_ = 3;
    std::vector<Attached> animations_;
    std::shared_ptr<Image> contents_;
};

}  // namespace platform::ui

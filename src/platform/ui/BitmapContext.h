#pragma once
// An offscreen bitmap to draw images into and take the result as an Image,
// like the platform's image context. User space starts with the origin at
// the top left and y growing downwards, in points; the bitmap has
// size * scale pixels and starts fully transparent (or opaque black).
//
// The graphics state holds the current transformation matrix (CTM), the
// clip, the fill colour and the blend mode; saveGState pushes a copy of it
// and restoreGState pops it. The scale/rotate/translate calls apply their
// operation before the existing CTM, as the platform's do. clipToRect
// narrows the clip to the rectangle as the CTM maps it at the time of the
// call (a rotated clip stays rotated). Sampling is nearest-neighbour at pixel
// centres.
//
// Thread: one thread at a time; a context is not shared.
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Image.h"

namespace platform::ui {

// Normal blends "source over"; Copy replaces what lies underneath.
enum class BlendMode : int { Normal = 0, Copy = 1 };

class BitmapContext {
public:
    // A size that is not positive (or too large for an Image) gives a context
    // whose draws do nothing and whose makeImage() answers nullptr.
    explicit BitmapContext(Size size, bool opaque = false, double scale = 1.0);

    int pixelWidth() const { return width_; }
    int pixelHeight() const { return height_; }

    AffineTransform ctm() const { return state_.ctm; }
    void scaleCTM(double sx, double sy);
    void rotateCTM(double radians);
    void translateCTM(double dx, double dy);
    void saveGState();
    // Without a matching save: nothing.
    void restoreGState();

    void clipToRect(const Rect& rect);
    // The clip's bounding box in user space (the whole bitmap when unclipped).
    Rect clipBoundingBox() const;
    void setFillColor(const Color& color) { state_.fill = color; }
    void setBlendMode(BlendMode mode) { state_.blend = mode; }

    void fillRect(const Rect& rect);
    // The image upright in `rect` (its top row along the rectangle's top).
    void drawInRect(const Image& image, const Rect& rect);
    // The image's bitmap as the low-level call draws it, which assumes y grows
    // upwards: its top row lies along the rectangle's max-y edge, so in this
    // top-down space it comes out upside down unless the CTM flips it.
    void drawBitmap(const Image& image, const Rect& rect);
    // drawBitmap repeated over the whole clip area, one copy per `tile`
    // rectangle in both directions from the tile's origin.
    void drawTiledImage(const Image& image, const Rect& tile);

    // A copy of the bitmap; nullptr for an empty context.
    std::shared_ptr<Image> makeImage() const;

private:
    struct Clip {
        AffineTransform toUser;  // device to user space when the clip was set
        Rect rect;
    };
    struct State {
        AffineTransform ctm;
        std::vector<Clip> clips;
        Color fill = Color::blackColor();
        BlendMode blend = BlendMode::Normal;
    };
    // Source texel for a point in the rectangle's unit square, or nullopt to skip.
    using Sampler = std::function<std::optional<Pixel>(Point user)>;

    void paint(const Rect& deviceBox, const Sampler& sample);
    bool insideClip(Point device) const;
    void blend(uint8_t* d, const Pixel& s) const;

    int width_ = 0;
    int height_ = 0;
    double scale_ = 1.0;
    std::vector<uint8_t> pixels_;
    State state_;
    std::vector<State> saved_;
};

}  // namespace platform::ui

#include "platform/ui/BitmapContext.h"

#include <algorithm>
#include <cmath>

namespace platform::ui {

namespace {

uint8_t toByte(double unit)
{
    return static_cast<uint8_t>(std::lround(std::clamp(unit, 0.0, 1.0) * 255.0));
}

Pixel texel(const Image& image, double u, double v)
{
    if (!std::isfinite(u) || !std::isfinite(v)) return {};
    const int iw = image.pixelWidth();
    const int ih = image.pixelHeight();
    const int sx = std::clamp(static_cast<int>(std::floor(u * iw)), 0, iw - 1);
    const int sy = std::clamp(static_cast<int>(std::floor(v * ih)), 0, ih - 1);
    return image.pixelAt(sx, sy);
}

// The fraction of `x` past the last whole step of `length` from `origin`.
double wrap(double x, double origin, double length)
{
    const double f = std::fmod(x - origin, length) / length;
    return f < 0 ? f + 1.0 : f;
}

}  // namespace

BitmapContext::BitmapContext(Size size, bool opaque, double scale)
{
    scale_ = (scale > 0 && std::isfinite(scale)) ? scale : 1.0;
    const double w = std::round(size.width * scale_);
    const double h = std::round(size.height * scale_);
    if (!(w >= 1 && h >= 1 && w <= Image::kMaxDimension && h <= Image::kMaxDimension) || w * h > Image::kMaxPixels) {
        return;
    }
    width_ = static_cast<int>(w);
    height_ = static_cast<int>(h);
    pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4, 0);
    if (opaque) {
        for (size_t i = 3; i < pixels_.size(); i += 4) pixels_[i] = 255;
    }
    state_.ctm = AffineTransform::scale(scale_, scale_);
}

void BitmapContext::scaleCTM(double sx, double sy) { state_.ctm = state_.ctm.scaled(sx, sy); }
void BitmapContext::rotateCTM(double radians) { state_.ctm = state_.ctm.rotated(radians); }
void BitmapContext::translateCTM(double dx, double dy) { state_.ctm = state_.ctm.translated(dx, dy); }
void BitmapContext::saveGState() { saved_.push_back(state_); }

void BitmapContext::restoreGState()
{
    if (saved_.empty()) return;
    state_ = std::move(saved_.back());
    saved_.pop_back();
}

void BitmapContext::clipToRect(const Rect& rect)
{
    // A singular CTM maps the rectangle onto a line: nothing is inside.
    const Rect r = state_.ctm.isInvertible() ? rect.standardized() : Rect();
    state_.clips.push_back({state_.ctm.inverted(), r});
}

Rect BitmapContext::clipBoundingBox() const
{
    Rect device(0, 0, width_, height_);
    for (const auto& clip : state_.clips) device = device.intersection(clip.toUser.inverted().apply(clip.rect));
    return state_.ctm.inverted().apply(device);
}

bool BitmapContext::insideClip(Point device) const
{
    for (const auto& clip : state_.clips)
        if (!clip.rect.contains(clip.toUser.apply(device))) return false;
    return true;
}

void BitmapContext::blend(uint8_t* d, const Pixel& s) const
{
    if (state_.blend == BlendMode::Copy) {
        d[0] = s.r, d[1] = s.g, d[2] = s.b, d[3] = s.a;
        return;
    }
    // Source over, in straight alpha.
    const double sa = s.a / 255.0;
    const double da = d[3] / 255.0;
    const double oa = sa + da * (1.0 - sa);
    const uint8_t src[3] = {s.r, s.g, s.b};
    for (int c = 0; c < 3; ++c) {
        const double value = oa > 0 ? (src[c] * sa + d[c] * da * (1.0 - sa)) / oa : 0.0;
        d[c] = static_cast<uint8_t>(std::lround(std::clamp(value, 0.0, 255.0)));
    }
    d[3] = static_cast<uint8_t>(std::lround(oa * 255.0));
}

void BitmapContext::paint(const Rect& deviceBox, const Sampler& sample)
{
    if (pixels_.empty() || !state_.ctm.isInvertible()) return;
    const Rect box = deviceBox.intersection(Rect(0, 0, width_, height_));
    // NaN or infinite coordinates (a hostile rectangle or matrix) draw nothing.
    if (box.isEmpty() || !std::isfinite(box.minX()) || !std::isfinite(box.minY()) || !std::isfinite(box.maxX()) ||
        !std::isfinite(box.maxY()))
        return;
    const AffineTransform toUser = state_.ctm.inverted();
    const int x0 = static_cast<int>(std::floor(box.minX()));
    const int y0 = static_cast<int>(std::floor(box.minY()));
    const int x1 = std::min(width_, static_cast<int>(std::ceil(box.maxX())));
    const int y1 = std::min(height_, static_cast<int>(std::ceil(box.maxY())));
    for (int py = y0; py < y1; ++py) {
        for (int px = x0; px < x1; ++px) {
            const Point device(px + 0.5, py + 0.5);
            if (!insideClip(device)) continue;
            const auto s = sample(toUser.apply(device));
            if (!s) continue;
            blend(pixels_.data() + (static_cast<size_t>(py) * static_cast<size_t>(width_) + static_cast<size_t>(px)) * 4,
                  *s);
        }
    }
}

void BitmapContext::fillRect(const Rect& rect)
{
    const Rect r = rect.standardized();
    if (r.isEmpty()) return;
    const Pixel colour{toByte(state_.fill.red), toByte(state_.fill.green), toByte(state_.fill.blue),
                       toByte(state_.fill.alpha)};
    paint(state_.ctm.apply(r), [&](Point user) -> std::optional<Pixel> {
        if (!r.contains(user)) return std::nullopt;
        return colour;
    });
}

void BitmapContext::drawInRect(const Image& image, const Rect& rect)
{
    const Rect r = rect.standardized();
    if (r.isEmpty()) return;
    paint(state_.ctm.apply(r), [&](Point user) -> std::optional<Pixel> {
        if (!r.contains(user)) return std::nullopt;
        return texel(image, (user.x - r.minX()) / r.width(), (user.y - r.minY()) / r.height());
    });
}

void BitmapContext::drawBitmap(const Image& image, const Rect& rect)
{
    const Rect r = rect.standardized();
    if (r.isEmpty()) return;
    paint(state_.ctm.apply(r), [&](Point user) -> std::optional<Pixel> {
        if (!r.contains(user)) return std::nullopt;
        return texel(image, (user.x - r.minX()) / r.width(), 1.0 - (user.y - r.minY()) / r.height());
    });
}

void BitmapContext::drawTiledImage(const Image& image, const Rect& tile)
{
    const Rect t = tile.standardized();
    if (t.isEmpty() || !std::isfinite(t.width()) || !std::isfinite(t.height())) return;
    paint(Rect(0, 0, width_, height_), [&](Point user) -> std::optional<Pixel> {
        return texel(image, wrap(user.x, t.minX(), t.width()), 1.0 - wrap(user.y, t.minY(), t.height()));
    });
}

std::shared_ptr<Image> BitmapContext::makeImage() const
{
    if (pixels_.empty()) return nullptr;
    return Image::withPixels(width_, height_, pixels_, scale_);
}

}  // namespace platform::ui

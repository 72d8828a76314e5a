#include "platform/ui/Image.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Sandbox.h"
#include "platform/ui/ImageCodecs.h"

namespace platform::ui {

namespace {

std::shared_ptr<Image> decode(const uint8_t* bytes, size_t length)
{
    if (codecs::looksLikePng(bytes, length)) return codecs::decodePng(bytes, length);
    if (codecs::looksLikeJpeg(bytes, length)) return codecs::decodeJpeg(bytes, length);
    return nullptr;
}

}  // namespace

Image::Image(int width, int height, std::shared_ptr<const std::vector<uint8_t>> pixels, double scale)
    : width_(width), height_(height), scale_(scale), pixels_(std::move(pixels))
{
}

std::shared_ptr<Image> Image::withPixels(int pixelWidth, int pixelHeight, std::vector<uint8_t> rgba, double scale)
{
    if (pixelWidth <= 0 || pixelHeight <= 0 || pixelWidth > kMaxDimension || pixelHeight > kMaxDimension) return nullptr;
    const size_t count = static_cast<size_t>(pixelWidth) * static_cast<size_t>(pixelHeight);
    if (count > kMaxPixels || rgba.size() != count * 4) return nullptr;
    if (!(scale > 0) || !std::isfinite(scale)) scale = 1.0;
    return std::make_shared<Image>(pixelWidth, pixelHeight,
                                   std::make_shared<const std::vector<uint8_t>>(std::move(rgba)), scale);
}

std::shared_ptr<Image> Image::imageWithData(const Data& data) { return decode(data.data(), data.length()); }

std::shared_ptr<Image> Image::imageWithData(const std::shared_ptr<Data>& data)
{
    return data ? imageWithData(*data) : nullptr;
}

std::shared_ptr<Image> Image::imageWithContentsOfFile(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return nullptr;
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decode(bytes.data(), bytes.size());
}

std::shared_ptr<Image> Image::imageNamed(const std::string& name)
{
    // Resource names are partly made of server data (resource ids), so the
    // bundle's lookup, which refuses names that leave the bundle, is the only way in.
    if (name.empty() || !Sandbox::isConfigured()) return nullptr;
    std::string file = name;
    if (!std::filesystem::path(file).has_extension()) file += ".png";
    const auto path = Bundle::mainBundle()->pathForResource(file, "");
    if (!path) return nullptr;
    auto image = imageWithContentsOfFile(*path);
    if (image) image->name_ = file;
    return image;
}

Size Image::size() const { return {width_ / scale_, height_ / scale_}; }

Pixel Image::pixelAt(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
    const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 4;
    const auto& p = *pixels_;
    return {p[i], p[i + 1], p[i + 2], p[i + 3]};
}

std::shared_ptr<Image> Image::stretchableImage(int leftCapWidth, int topCapHeight) const
{
    auto copy = std::make_shared<Image>(width_, height_, pixels_, scale_);
    copy->leftCap_ = std::max(0, leftCapWidth);
    copy->topCap_ = std::max(0, topCapHeight);
    copy->orientation_ = orientation_;
    copy->name_ = name_;
    return copy;
}

std::shared_ptr<Image> Image::withOrientation(ImageOrientation orientation) const
{
    auto copy = stretchableImage(leftCap_, topCap_);
    copy->orientation_ = orientation;
    return copy;
}

std::string Image::description() const
{
    std::string text = "Image";
    if (!name_.empty()) text += " " + name_;
    text += " " + toString(size());
    if (leftCap_ || topCap_) text += " caps " + std::to_string(leftCap_) + "," + std::to_string(topCap_);
    return text;
}

std::shared_ptr<Data> JPEGRepresentation(const ImagePtr& image, double quality)
{
    if (!image) return nullptr;
    const double q = std::isfinite(quality) ? std::clamp(quality, 0.0, 1.0) : 1.0;
    auto bytes = codecs::encodeJpeg(*image, static_cast<int>(std::lround(q * 100.0)));
    if (bytes.empty()) return nullptr;
    return Data::make(std::move(bytes));
}

std::shared_ptr<Data> PNGRepresentation(const ImagePtr& image)
{
    if (!image) return nullptr;
    auto bytes = codecs::encodePng(*image);
    if (bytes.empty()) return nullptr;
    return Data::make(std::move(bytes));
}

}  // namespace platform::ui

// PNG through libpng's simplified interface, which reports every error in the
// image structure instead of jumping out of the caller.
#include <png.h>

#include <cstring>

#include "platform/ui/ImageCodecs.h"

namespace platform::ui::codecs {

namespace {

// Deflate codes at most 258 bytes in two bits, so the rows' filtered bytes
// (one filter byte and at least one bit per pixel each) need at least
// 1/1032 of their size in the file.
uint64_t minimumCodedLength(const png_image& image)
{
    const uint64_t rawRows = uint64_t{image.height} * (1 + (uint64_t{image.width} + 7) / 8);
    return rawRows / 1032;
}

}  // namespace

bool looksLikePng(const uint8_t* bytes, size_t length)
{
    static constexpr uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return length >= sizeof signature && std::memcmp(bytes, signature, sizeof signature) == 0;
}

std::shared_ptr<Image> decodePng(const uint8_t* bytes, size_t length)
{
    if (!looksLikePng(bytes, length)) return nullptr;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes, length)) {
        png_image_free(&image);
        return nullptr;
    }
    if (!withinDecodeCaps(image.width, image.height) || minimumCodedLength(image) > length) {
        png_image_free(&image);
        return nullptr;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return nullptr;
    }
    return Image::withPixels(static_cast<int>(image.width), static_cast<int>(image.height), std::move(pixels));
}

std::vector<uint8_t> encodePng(const Image& source)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(source.pixelWidth());
    image.height = static_cast<png_uint_32>(source.pixelHeight());
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, source.rgba().data(), 0, nullptr)) return {};
    std::vector<uint8_t> out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, source.rgba().data(), 0, nullptr)) return {};
    out.resize(size);
    return out;
}

}  // namespace platform::ui::codecs

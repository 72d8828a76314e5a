// The PNG decoder on arbitrary bytes: banners and profile pictures come from
// the network. A decoded image stays within the decode caps, and its PNG
// encoding decodes back to the same pixels.
// Fuzz links: hc_platform PNG::PNG JPEG::JPEG ZLIB::ZLIB
// Fuzz sources: src/platform/ui/Image.cpp src/platform/ui/Geometry.cpp src/platform/ui/PngCodec.cpp src/platform/ui/JpegCodec.cpp
#include <zlib.h>

#include <vector>

#include "FuzzSupport.h"
#include "platform/ui/ImageCodecs.h"

namespace {

uint32_t readBigEndian(const uint8_t* p) { return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3]; }

// libpng drops a chunk whose checksum is wrong, so nearly every mutation
// would end there: the checksums are put right before decoding, and the
// mutations reach the chunks' contents.
void fixChecksums(std::vector<uint8_t>& png)
{
    size_t at = 8;
    while (at + 12 <= png.size()) {
        const uint32_t length = readBigEndian(&png[at]);
        if (length > png.size() - at - 12) return;
        const uLong crc = crc32(0, &png[at + 4], static_cast<uInt>(length + 4));
        for (int i = 0; i < 4; ++i) png[at + 8 + length + static_cast<size_t>(i)] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        at += 12 + length;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace platform::ui;
    std::vector<uint8_t> png(data, data + size);
    fixChecksums(png);
    const auto image = codecs::decodePng(png.data(), png.size());
    if (!image) return 0;
    fuzz::check(codecs::withinDecodeCaps(image->pixelWidth(), image->pixelHeight()), "decoded PNG past the caps");
    const auto encoded = codecs::encodePng(*image);
    fuzz::check(!encoded.empty(), "a decoded image cannot be encoded");
    const auto again = codecs::decodePng(encoded.data(), encoded.size());
    fuzz::check(again && again->pixelWidth() == image->pixelWidth() && again->rgba() == image->rgba(),
                "PNG decoded, encoded and decoded again differs");
    return 0;
}

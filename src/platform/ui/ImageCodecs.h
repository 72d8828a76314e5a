#pragma once
// The PNG and JPEG coders behind Image. Decoders answer nullptr for anything
// that is not a complete, undamaged image of their kind, or that is larger
// than the decode caps below; they never abort the process.
//
// Decoded images come from the network (banners, profile pictures) and from
// the bundle. The largest of those is a banner across a tablet's full
// high-density screen (2048 x 1536), so a decoded image may have at most
// kMaxDecodedPixels pixels (16 MB of RGBA) and kMaxDecodedSide on a side.
// Before allocating, each decoder also checks that the file is long enough to
// code the size its header declares, so a few hundred hostile bytes cannot
// make it reserve megabytes.
//
// Thread: any thread; no shared state.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/ui/Image.h"

namespace platform::ui::codecs {

inline constexpr uint32_t kMaxDecodedSide = 4096;
inline constexpr uint64_t kMaxDecodedPixels = uint64_t{2048} * 2048;

inline bool withinDecodeCaps(uint64_t width, uint64_t height)
{
    return width > 0 && height > 0 && width <= kMaxDecodedSide && height <= kMaxDecodedSide &&
           width * height <= kMaxDecodedPixels;
}

bool looksLikePng(const uint8_t* bytes, size_t length);
bool looksLikeJpeg(const uint8_t* bytes, size_t length);

std::shared_ptr<Image> decodePng(const uint8_t* bytes, size_t length);
std::shared_ptr<Image> decodeJpeg(const uint8_t* bytes, size_t length);

// Empty on failure.
std::vector<uint8_t> encodePng(const Image& image);
// `quality` 0...100.
std::vector<uint8_t> encodeJpeg(const Image& image, int quality);

}  // namespace platform::ui::codecs

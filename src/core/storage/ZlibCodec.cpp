#include "core/storage/ZlibCodec.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace storage {

namespace {

// zlib counts in uInt per call; larger buffers are fed in slices.
constexpr std::size_t kMaxSlice = std::numeric_limits<uInt>::max();

// A first output size that holds what a stream of `length` bytes usually
// inflates to (saved games and text compress about 4:1), so an honest stream
// seldom grows its output, while a broken one costs a small multiple of its
// own size whatever its header claims.
constexpr std::size_t kUsualRatio = 8;
constexpr std::size_t kSmallestFirstOutput = 64 * 1024;

// The most a stream of `length` bytes can inflate to.
std::size_t inflateCeiling(std::size_t length)
{
    if (length > std::numeric_limits<std::size_t>::max() / kMaxDeflateRatio) {
        return std::numeric_limits<std::size_t>::max();
    }
    return length * kMaxDeflateRatio;
}

class InflateStream {
public:
    InflateStream() { ok_ = inflateInit(&stream_) == Z_OK; }
    ~InflateStream()
    {
        if (ok_) {
            inflateEnd(&stream_);
        }
    }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;

    bool ok() const { return ok_; }
    z_stream& get() { return stream_; }

private:
    z_stream stream_{};
    bool ok_ = false;
};

// Inflates the stream into a buffer of `initialLength` bytes that doubles,
// while needed, up to `maxLength`.
std::optional<std::vector<uint8_t>> inflateGrowing(const uint8_t* bytes, std::size_t length, std::size_t initialLength,
                                                   std::size_t maxLength)
{
    InflateStream inflater;
    if (!inflater.ok()) {
        return std::nullopt;
    }
    z_stream& stream = inflater.get();
    std::vector<uint8_t> out(initialLength);
    std::size_t consumed = 0;
    std::size_t produced = 0;
    uint8_t spare = 0;  // zlib wants somewhere to point at even with no room
    for (;;) {
        if (stream.avail_in == 0 && consumed < length) {
            const std::size_t slice = std::min(length - consumed, kMaxSlice);
            stream.next_in = const_cast<Bytef*>(bytes + consumed);  // zlib never writes through next_in
            stream.avail_in = static_cast<uInt>(slice);
            consumed += slice;
        }
        const std::size_t room = std::min(out.size() - produced, kMaxSlice);
        stream.next_out = room > 0 ? out.data() + produced : &spare;
        stream.avail_out = static_cast<uInt>(room);
        const int status = inflate(&stream, Z_NO_FLUSH);
        produced += room - stream.avail_out;
        if (status == Z_STREAM_END) {
            out.resize(produced);
            return out;
        }
        if (status == Z_OK) {
            continue;
        }
        // Z_BUF_ERROR means no progress: the input ended early, or the
        // output is full while the stream goes on.
        if (status != Z_BUF_ERROR || stream.avail_in == 0 || produced < out.size() || out.size() >= maxLength) {
            return std::nullopt;
        }
        out.resize(std::min(maxLength, std::max<std::size_t>(2 * out.size(), 64)));
    }
}

}  // namespace

std::optional<std::vector<uint8_t>> zlibCompress(const uint8_t* bytes, std::size_t length)
{
    uLongf compressedLength = compressBound(static_cast<uLong>(length));
    std::vector<uint8_t> out(compressedLength);
    if (compress2(out.data(), &compressedLength, bytes, static_cast<uLong>(length), Z_DEFAULT_COMPRESSION) != Z_OK) {
        return std::nullopt;
    }
    out.resize(compressedLength);
    return out;
}

std::optional<std::vector<uint8_t>> zlibInflateExactly(const uint8_t* bytes, std::size_t length,
                                                      std::size_t expectedLength)
{
    if (expectedLength > inflateCeiling(length)) {
        return std::nullopt;
    }
    const std::size_t usual = std::max(kSmallestFirstOutput, length * kUsualRatio);
    auto out = inflateGrowing(bytes, length, std::min(expectedLength, usual), expectedLength);
    if (!out || out->size() != expectedLength) {
        return std::nullopt;
    }
    return out;
}

std::optional<std::vector<uint8_t>> zlibInflateBounded(const uint8_t* bytes, std::size_t length,
                                                      std::size_t maxLength)
{
    maxLength = std::min(maxLength, inflateCeiling(length));
    return inflateGrowing(bytes, length, std::min(maxLength, 2 * length), maxLength);
}

}  // namespace storage

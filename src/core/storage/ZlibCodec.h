#pragma once
// The two zlib operations the blob formats need: the one-shot zlib stream
// of some bytes, and a bounded inflate of one zlib stream. Every caller of
// zlib in the storage road goes through here, so the bounds live in one
// place.
//
// A stream of n bytes can never inflate to more than kMaxDeflateRatio × n
// bytes (deflate's ceiling), so no output is ever sized beyond that,
// whatever a header claims.
//
// Thread: pure functions; any thread.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace storage {

inline constexpr std::size_t kMaxDeflateRatio = 1032;

// zlib's one-shot compress at the default level: header, deflate data and
// Adler-32. Nothing when zlib refuses.
std::optional<std::vector<uint8_t>> zlibCompress(const uint8_t* bytes, std::size_t length);

// Inflates the zlib stream at the start of `bytes` to exactly
// `expectedLength` bytes. Nothing when the stream is broken or truncated,
// or inflates to another length, or when `expectedLength` is more than the
// stream could hold (checked before anything is allocated). The expected
// length is a claim, not a size to allocate: the output starts at what a
// stream of this length usually inflates to and grows, up to the claim, as
// the stream bears it out.
std::optional<std::vector<uint8_t>> zlibInflateExactly(const uint8_t* bytes, std::size_t length,
                                                      std::size_t expectedLength);

// Inflates the zlib stream at the start of `bytes`, whatever its length,
// but never beyond `maxLength` bytes: nothing when the stream is broken,
// truncated or would inflate to more.
std::optional<std::vector<uint8_t>> zlibInflateBounded(const uint8_t* bytes, std::size_t length,
                                                      std::size_t maxLength);

}  // namespace storage

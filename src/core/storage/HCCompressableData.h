#pragma once
// One blob in memory, and the stored form in which every blob of the
// service is kept:
//
//   bytes 0-7   "HCZLHDR0"
//   bytes 8-11  the uncompressed length, unsigned 32-bit little-endian
//   bytes 12-   one zlib stream of the blob (zlib's compress, default level)
//
// or the raw form: the blob's own bytes. The header form is written when the
// stream is more than 12 bytes shorter than the blob, and always for a blob
// whose own bytes would read as a header (12 bytes or more beginning with
// "HCZLHDR0"), so that a reader can never take one for the other. A reader
// takes every input that does not carry a full header as raw.
//
// Reading trusts nothing in the header: a length of 0, one above
// kMaxUncompressedLength, one the stream cannot hold, or a stream that
// inflates to another length, make the read fail (nil). Nor is the claimed
// length allocated up front: the output grows as the stream inflates.
//
// Switching compression off (setDisableCompression, at start-up) makes the
// writer pass blobs through, except those that would read as a header; the
// reader still decodes what carries the header, so blobs stored before the
// switch stay readable.
//
// Thread: any thread. A holder belongs to the thread that uses it; the
// process-wide switch is set at start-up and read anywhere.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/foundation/Values.h"

class HCCompressableData final : public platform::Object {
public:
    using DataPtr = std::shared_ptr<platform::Data>;

    static constexpr std::string_view kMagic = "HCZLHDR0";
    static constexpr std::size_t kHeaderLength = 12;
    // The store keeps stored forms of at most this many bytes.
    static constexpr std::size_t kStorageLimit = 0x40000;
    // The most a stored form within the storage limit can inflate to
    // (deflate's ceiling of 1032:1); no header may claim more.
    static constexpr std::size_t kMaxUncompressedLength = kStorageLimit * 1032;

    // The stored form of the bytes; nil for nil and where serializedData()
    // has none.
    static DataPtr serializedDataFromData(const DataPtr& data);
    // The blob's bytes from a stored form: nil for nil and when the header
    // form does not inflate as its header says.
    static DataPtr uncompressedDataFromSerializedData(const DataPtr& serialized);

    // A holder with a copy of the bytes, compressed when asked (and worth it).
    static std::shared_ptr<HCCompressableData> dataWithBytes(const void* bytes, std::size_t length, bool compress);
    static std::shared_ptr<HCCompressableData> dataWithNSData(const DataPtr& data, bool compress);
    // A holder for a stored form, not yet inflated; nil for nil and for a
    // header whose length no blob can have (0, or above the maximum).
    static std::shared_ptr<HCCompressableData> dataWithSerializedData(const DataPtr& serialized);

    // Replaces the bytes by their zlib stream when the stream is more than 12
    // bytes shorter; else, or while compression is switched off, nothing
    // changes.
    void compress();
    // Inflates a compressed holder in place; false, with nothing changed,
    // when the stream does not inflate to uncompressedSize bytes.
    bool uncompress();
    // The blob's bytes, a fresh copy; nil when inflating fails.
    DataPtr uncompressedData() const;
    // The header form when compressed, else the bytes themselves; but bytes
    // that would read as a header are always written in the header form
    // (nil for those beyond kMaxUncompressedLength, which no header may claim).
    DataPtr serializedData() const;
    // The blob's length, compressed or not.
    std::size_t length() const;

    const DataPtr& data() const { return data_; }
    void setData(DataPtr data) { data_ = std::move(data); }
    // 0 while data() holds the blob's own bytes; else the length data()'s
    // zlib stream inflates to.
    uint32_t uncompressedSize() const { return uncompressedSize_; }
    void setUncompressedSize(uint32_t size) { uncompressedSize_ = size; }

    static void setDisableCompression(bool disable);
    static bool isCompressionDisabled();
    // Part of the interface games call; changes nothing. The ratio is
    // logged by the cloud storage service's own verbose switch.
    static void setVerbose(bool) {}

    // Whether the bytes carry a full header (and so would never be read as raw).
    static bool carriesHeader(const uint8_t* bytes, std::size_t length);

private:
    DataPtr data_;
    uint32_t uncompressedSize_ = 0;
};

// The stored blob reader on arbitrary bytes, in both forms: the header form
// ("HCZLHDR0", length, zlib stream) with its raw fallback, and the storage
// road's legacy headerless form (a bare zlib stream). Whatever the input,
// reading ends in bytes or nil, never beyond the bounds; a header form reads
// exactly when the legacy road's inflate, bounded by the claim, gives the
// claimed length (both grow their output as they inflate, from different
// first sizes, so they must agree whatever the claim); what is read back
// writes and reads to the same bytes; and any bytes written in the stored
// form, by the plain writer or through a holder, read back unchanged.
// Fuzz links: hc_platform ZLIB::ZLIB
// Fuzz sources: src/core/storage/HCCompressableData.cpp src/core/storage/ZlibCodec.cpp
#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzSupport.h"
#include "core/storage/HCCompressableData.h"
#include "core/storage/ZlibCodec.h"

namespace {

using DataPtr = std::shared_ptr<platform::Data>;

void readStoredForm(const DataPtr& input)
{
    auto read = HCCompressableData::uncompressedDataFromSerializedData(input);
    const bool header = HCCompressableData::carriesHeader(input->data(), input->length());
    if (!header) {
        fuzz::check(read && *read == *input, "input without a header did not come back as it was");
    } else {
        const uint8_t* length = input->data() + HCCompressableData::kMagic.size();
        const size_t claimed = length[0] | length[1] << 8 | length[2] << 16 | static_cast<size_t>(length[3]) << 24;
        if (read) {
            fuzz::check(read->length() == claimed, "header form inflated to another length than its header says");
            fuzz::check(claimed <= HCCompressableData::kMaxUncompressedLength, "header length beyond the maximum accepted");
        }
        const uint8_t* stream = input->data() + HCCompressableData::kHeaderLength;
        const size_t streamLength = input->length() - HCCompressableData::kHeaderLength;
        if (claimed != 0 && claimed <= HCCompressableData::kMaxUncompressedLength &&
            claimed <= streamLength * storage::kMaxDeflateRatio) {
            auto whole = storage::zlibInflateBounded(stream, streamLength, claimed);
            const bool bearsOut = whole && whole->size() == claimed;
            fuzz::check(bearsOut == (read != nullptr), "reader and bounded inflate disagree on a claim");
            fuzz::check(!bearsOut || *whole == read->bytes(), "reader and bounded inflate give other bytes");
        }
    }
    // The holder's road agrees with the one-shot reader.
    auto holder = HCCompressableData::dataWithSerializedData(input);
    auto viaHolder = holder ? holder->uncompressedData() : nullptr;
    fuzz::check((read == nullptr) == (viaHolder == nullptr) && (!read || *read == *viaHolder),
                "holder and one-shot reader disagree");
    if (read) {
        auto again = HCCompressableData::uncompressedDataFromSerializedData(HCCompressableData::serializedDataFromData(read));
        fuzz::check(again && *again == *read, "read bytes do not survive a write and a read");
    }
}

// The storage road's legacy form: a bare zlib stream, inflated with the
// same bound the road applies.
void readLegacyForm(const DataPtr& input)
{
    auto read = storage::zlibInflateBounded(input->data(), input->length(), HCCompressableData::kMaxUncompressedLength);
    if (!read) return;
    fuzz::check(read->size() <= HCCompressableData::kMaxUncompressedLength, "legacy inflate beyond its bound");
    fuzz::check(read->size() <= input->length() * storage::kMaxDeflateRatio, "legacy inflate beyond deflate's ceiling");
    auto stream = storage::zlibCompress(read->data(), read->size());
    fuzz::check(stream.has_value(), "zlib refused to write back what it read");
    auto again = storage::zlibInflateBounded(stream->data(), stream->size(), HCCompressableData::kMaxUncompressedLength);
    fuzz::check(again && *again == *read, "legacy form does not survive a write and a read");
}

}  // namespace

// Input: a first byte choosing the form (even: stored form, odd: legacy),
// then the bytes to read.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    auto input = std::make_shared<platform::Data>(data + 1, size - 1);
    if (data[0] % 2 == 0) {
        readStoredForm(input);
        auto written = HCCompressableData::uncompressedDataFromSerializedData(HCCompressableData::serializedDataFromData(input));
        fuzz::check(written && *written == *input, "bytes written in the stored form do not read back unchanged");
        for (bool compress : {true, false}) {
            auto held = HCCompressableData::uncompressedDataFromSerializedData(
                HCCompressableData::dataWithNSData(input, compress)->serializedData());
            fuzz::check(held && *held == *input, "bytes written through a holder do not read back unchanged");
        }
    } else {
        readLegacyForm(input);
    }
    return 0;
}

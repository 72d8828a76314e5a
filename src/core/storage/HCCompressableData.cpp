#include "core/storage/HCCompressableData.h"

#include <atomic>
#include <cstring>
#include <vector>

#include "core/storage/ZlibCodec.h"

namespace {

std::atomic<bool> sDisableCompression{false};

uint32_t readLittleEndian32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void writeLittleEndian32(uint8_t* bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

bool validHeaderLength(uint32_t length)
{
    return length != 0 && length <= HCCompressableData::kMaxUncompressedLength;
}

// "HCZLHDR0", the length, then the stream.
HCCompressableData::DataPtr headerForm(const uint8_t* stream, std::size_t streamLength, uint32_t uncompressedSize)
{
    std::vector<uint8_t> bytes(HCCompressableData::kHeaderLength + streamLength);
    std::memcpy(bytes.data(), HCCompressableData::kMagic.data(), HCCompressableData::kMagic.size());
    writeLittleEndian32(bytes.data() + HCCompressableData::kMagic.size(), uncompressedSize);
    std::memcpy(bytes.data() + HCCompressableData::kHeaderLength, stream, streamLength);
    return platform::Data::make(std::move(bytes));
}

}  // namespace

void HCCompressableData::setDisableCompression(bool disable)
{
    sDisableCompression = disable;
}

bool HCCompressableData::isCompressionDisabled()
{
    return sDisableCompression;
}

bool HCCompressableData::carriesHeader(const uint8_t* bytes, std::size_t length)
{
    return length >= kHeaderLength && std::memcmp(bytes, kMagic.data(), kMagic.size()) == 0;
}

HCCompressableData::DataPtr HCCompressableData::serializedDataFromData(const DataPtr& data)
{
    if (!data) {
        return nullptr;
    }
    if (isCompressionDisabled() && !carriesHeader(data->data(), data->length())) {
        return data;
    }
    return dataWithNSData(data, true)->serializedData();
}

HCCompressableData::DataPtr HCCompressableData::uncompressedDataFromSerializedData(const DataPtr& serialized)
{
    if (!serialized) {
        return nullptr;
    }
    if (!carriesHeader(serialized->data(), serialized->length())) {
        return isCompressionDisabled() ? serialized : std::make_shared<platform::Data>(serialized->bytes());
    }
    const uint32_t length = readLittleEndian32(serialized->data() + kMagic.size());
    if (!validHeaderLength(length)) {
        return nullptr;
    }
    // Inflated straight from the input: no copy of the stream first.
    auto bytes = storage::zlibInflateExactly(serialized->data() + kHeaderLength,
                                             serialized->length() - kHeaderLength, length);
    return bytes ? platform::Data::make(std::move(*bytes)) : nullptr;
}

std::shared_ptr<HCCompressableData> HCCompressableData::dataWithBytes(const void* bytes, std::size_t length,
                                                                      bool compress)
{
    auto holder = std::make_shared<HCCompressableData>();
    holder->data_ = std::make_shared<platform::Data>(bytes, length);
    if (compress) {
        holder->compress();
    }
    return holder;
}

std::shared_ptr<HCCompressableData> HCCompressableData::dataWithNSData(const DataPtr& data, bool compress)
{
    if (!data) {
        return std::make_shared<HCCompressableData>();
    }
    return dataWithBytes(data->data(), data->length(), compress);
}

std::shared_ptr<HCCompressableData> HCCompressableData::dataWithSerializedData(const DataPtr& serialized)
{
    if (!serialized) {
        return nullptr;
    }
    auto holder = std::make_shared<HCCompressableData>();
    if (!carriesHeader(serialized->data(), serialized->length())) {
        holder->data_ = std::make_shared<platform::Data>(serialized->bytes());
        return holder;
    }
    const uint32_t length = readLittleEndian32(serialized->data() + kMagic.size());
    if (!validHeaderLength(length)) {
        return nullptr;
    }
    holder->uncompressedSize_ = length;
    holder->data_ = std::make_shared<platform::Data>(serialized->data() + kHeaderLength,
                                                     serialized->length() - kHeaderLength);
    return holder;
}

void HCCompressableData::compress()
{
    // Nothing longer than a header may claim is ever written in the header form.
    if (isCompressionDisabled() || uncompressedSize_ != 0 || !data_ || data_->length() == 0 ||
        data_->length() > kMaxUncompressedLength) {
        return;
    }
    auto stream = storage::zlibCompress(data_->data(), data_->length());
    if (stream && stream->size() + kHeaderLength < data_->length()) {
        uncompressedSize_ = static_cast<uint32_t>(data_->length());
        data_ = platform::Data::make(std::move(*stream));
    }
}

bool HCCompressableData::uncompress()
{
    if (uncompressedSize_ == 0) {
        return true;
    }
    auto bytes = uncompressedData();
    if (!bytes) {
        return false;
    }
    data_ = std::move(bytes);
    uncompressedSize_ = 0;
    return true;
}

HCCompressableData::DataPtr HCCompressableData::uncompressedData() const
{
    if (!data_) {
        return nullptr;
    }
    if (uncompressedSize_ == 0) {
        return std::make_shared<platform::Data>(data_->bytes());
    }
    if (!validHeaderLength(uncompressedSize_)) {
        return nullptr;
    }
    auto bytes = storage::zlibInflateExactly(data_->data(), data_->length(), uncompressedSize_);
    return bytes ? platform::Data::make(std::move(*bytes)) : nullptr;
}

HCCompressableData::DataPtr HCCompressableData::serializedData() const
{
    if (!data_) {
        return nullptr;
    }
    if (uncompressedSize_ != 0) {
        return headerForm(data_->data(), data_->length(), uncompressedSize_);
    }
    if (!carriesHeader(data_->data(), data_->length())) {
        return data_;
    }
    // Raw, these bytes would be read as a header: they go in the header form
    // whether compressing saves anything or not (or is switched off).
    if (data_->length() > kMaxUncompressedLength) {
        return nullptr;
    }
    auto stream = storage::zlibCompress(data_->data(), data_->length());
    return stream ? headerForm(stream->data(), stream->size(), static_cast<uint32_t>(data_->length())) : nullptr;
}

std::size_t HCCompressableData::length() const
{
    if (uncompressedSize_ != 0) {
        return uncompressedSize_;
    }
    return data_ ? data_->length() : 0;
}

#include "core/storage/HCCompressableData.h"

#include <atomic>
#include <cstring>

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
    const bool looksLikeHeader = carriesHeader(data->data(), data->length());
    if (isCompressionDisabled() && !looksLikeHeader) {
        return data;
    }
    auto holder = dataWithNSData(data, false);
    if (looksLikeHeader) {
        holder->compressAlways();
    } else {
        holder->compress();
    }
    return holder->serializedData();
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
    if (!isCompressionDisabled()) {
        compressIf(true);
    }
}

void HCCompressableData::compressAlways()
{
    compressIf(false);
}

void HCCompressableData::compressIf(bool onlyWhenSmaller)
{
    // Nothing longer than a header may claim is ever written in the header form.
    if (uncompressedSize_ != 0 || !data_ || data_->length() == 0 || data_->length() > kMaxUncompressedLength) {
        return;
    }
    auto stream = storage::zlibCompress(data_->data(), data_->length());
    if (stream && (!onlyWhenSmaller || stream->size() + kHeaderLength < data_->length())) {
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
    if (uncompressedSize_ == 0 || !data_) {
        return data_;
    }
    std::vector<uint8_t> bytes(kHeaderLength + data_->length());
    std::memcpy(bytes.data(), kMagic.data(), kMagic.size());
    writeLittleEndian32(bytes.data() + kMagic.size(), uncompressedSize_);
    std::memcpy(bytes.data() + kHeaderLength, data_->data(), data_->length());
    return platform::Data::make(std::move(bytes));
}

std::size_t HCCompressableData::length() const
{
    if (uncompressedSize_ != 0) {
        return uncompressedSize_;
    }
    return data_ ? data_->length() : 0;
}

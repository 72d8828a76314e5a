// The stored blob form byte by byte, its raw fallback, and a reader that
// trusts nothing in the header.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/storage/HCCompressableData.h"
#include "core/storage/ZlibCodec.h"
#include "core/storage/HeapPeak.h"
#include "core/storage/ZlibReference.h"
#include "support/TestSupport.h"

namespace {

using DataPtr = std::shared_ptr<platform::Data>;

// 331 bytes of English text.
const std::string kText =
    "The player moves a paddle along the bottom of a walled field and shoots balls at the coloured stones "
    "that move about the field. Stones bounce off the walls and off each other, a stone that is hit "
    "explodes, and hard stones take three hits. A level is won when no stone is left in play, and lost "
    "when the chances run out, and so on!!";

DataPtr bytesOf(const std::string& text)
{
    return platform::Data::fromString(text);
}

using blobtest::zlibReference;

std::vector<uint8_t> withMagic(const std::vector<uint8_t>& rest)
{
    std::vector<uint8_t> bytes = {'H', 'C', 'Z', 'L', 'H', 'D', 'R', '0'};
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    return bytes;
}

// "HCZLHDR0", the given length little-endian, then the stream.
DataPtr headerForm(uint32_t length, const std::vector<uint8_t>& stream)
{
    std::vector<uint8_t> bytes = {'H', 'C', 'Z', 'L', 'H', 'D', 'R', '0'};
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(length >> (8 * i)));
    bytes.insert(bytes.end(), stream.begin(), stream.end());
    return platform::Data::make(bytes);
}

class ScopedCompressionDisabled {
public:
    ScopedCompressionDisabled() { HCCompressableData::setDisableCompression(true); }
    ~ScopedCompressionDisabled() { HCCompressableData::setDisableCompression(false); }
};

}  // namespace

TEST(HCCompressableData, TextIsStoredInTheHeaderFormByteForByteAndReadsBackEveryWay)
{
    ASSERT_EQ(kText.size(), 331u);
    auto input = bytesOf(kText);
    auto stored = HCCompressableData::serializedDataFromData(input);
    ASSERT_TRUE(stored);
    const auto& bytes = stored->bytes();
    // "HCZLHDR0", 331 as 4B 01 00 00, then zlib's own stream of the text.
    const std::vector<uint8_t> head = {'H', 'C', 'Z', 'L', 'H', 'D', 'R', '0', 0x4B, 0x01, 0x00, 0x00};
    ASSERT_GT(bytes.size(), head.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 12), head);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 12, bytes.end()), zlibReference(input->bytes()));
    EXPECT_LT(bytes.size(), kText.size());

    auto read = HCCompressableData::uncompressedDataFromSerializedData(stored);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->toString(), kText);

    auto holder = HCCompressableData::dataWithNSData(input, true);
    EXPECT_EQ(holder->uncompressedSize(), 331u);
    EXPECT_EQ(holder->length(), 331u);
    ASSERT_TRUE(holder->uncompressedData());
    EXPECT_EQ(holder->uncompressedData()->toString(), kText);
    EXPECT_EQ(*holder->serializedData(), *stored);

    auto fromStored = HCCompressableData::dataWithSerializedData(stored);
    ASSERT_TRUE(fromStored);
    EXPECT_EQ(fromStored->uncompressedSize(), 331u);
    EXPECT_TRUE(fromStored->uncompress());
    EXPECT_EQ(fromStored->uncompressedSize(), 0u);
    EXPECT_EQ(fromStored->data()->toString(), kText);
}

TEST(HCCompressableData, BlobsThatDoNotShrinkByMoreThanTheHeaderStayRaw)
{
    auto abc = HCCompressableData::serializedDataFromData(bytesOf("ABC"));
    EXPECT_EQ(abc->toString(), "ABC");
    EXPECT_EQ(HCCompressableData::uncompressedDataFromSerializedData(abc)->toString(), "ABC");

    // The boundary: the shortest run of one letter whose stream is exactly
    // 12 bytes shorter stays raw; one letter more is stored compressed.
    size_t boundary = 0;
    for (size_t n = 1; n < 200 && boundary == 0; ++n) {
        if (zlibReference(std::vector<uint8_t>(n, 'a')).size() + 12 == n) boundary = n;
    }
    ASSERT_NE(boundary, 0u);
    const std::string atBoundary(boundary, 'a');
    EXPECT_EQ(HCCompressableData::serializedDataFromData(bytesOf(atBoundary))->toString(), atBoundary);
    auto beyond = HCCompressableData::serializedDataFromData(bytesOf(atBoundary + "a"));
    EXPECT_EQ(beyond->toString().substr(0, 8), "HCZLHDR0");

    auto noise = platform::Data::make(testsupport::incompressibleBytes(4096, 7));
    EXPECT_EQ(*HCCompressableData::serializedDataFromData(noise), *noise);
}

TEST(HCCompressableData, InputWithoutAFullHeaderIsReadAsRaw)
{
    auto stored = HCCompressableData::serializedDataFromData(bytesOf(kText));
    // Any one byte of the magic changed: the bytes come back as they are.
    for (size_t i = 0; i < 8; ++i) {
        auto altered = std::make_shared<platform::Data>(stored->bytes());
        altered->mutableBytes()[i] ^= 0x20;
        auto read = HCCompressableData::uncompressedDataFromSerializedData(altered);
        ASSERT_TRUE(read) << i;
        EXPECT_EQ(*read, *altered) << i;
    }
    // Shorter than the magic, and the magic without the four length bytes.
    for (const std::string& text : {std::string(), std::string("HCZLHDR"), std::string("HCZLHDR0"),
                                    std::string("HCZLHDR0\x4B\x01\x00", 11)}) {
        auto read = HCCompressableData::uncompressedDataFromSerializedData(bytesOf(text));
        ASSERT_TRUE(read);
        EXPECT_EQ(read->toString(), text);
        auto holder = HCCompressableData::dataWithSerializedData(bytesOf(text));
        ASSERT_TRUE(holder);
        EXPECT_EQ(holder->uncompressedSize(), 0u);
    }
}

TEST(HCCompressableData, RawBlobsThatBeginWithTheMagicAreStoredInTheHeaderForm)
{
    // Incompressible, so the size rule alone would keep it raw and a reader
    // would take its first bytes for a header.
    auto noise = testsupport::incompressibleBytes(600, 11);
    std::vector<uint8_t> lookalike = {'H', 'C', 'Z', 'L', 'H', 'D', 'R', '0'};
    lookalike.insert(lookalike.end(), noise.begin(), noise.end());
    auto input = platform::Data::make(lookalike);

    auto stored = HCCompressableData::serializedDataFromData(input);
    EXPECT_NE(*stored, *input);
    EXPECT_EQ(stored->toString().substr(0, 8), "HCZLHDR0");
    auto read = HCCompressableData::uncompressedDataFromSerializedData(stored);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, *input);

    // The same with compression switched off.
    ScopedCompressionDisabled off;
    auto storedOff = HCCompressableData::serializedDataFromData(input);
    EXPECT_NE(*storedOff, *input);
    auto readOff = HCCompressableData::uncompressedDataFromSerializedData(storedOff);
    ASSERT_TRUE(readOff);
    EXPECT_EQ(*readOff, *input);
}

TEST(HCCompressableData, HoldersWriteBlobsThatBeginWithTheMagicInTheHeaderForm)
{
    const std::vector<DataPtr> lookalikes = {
        // The shortest that reads as a header, one a byte longer, and one
        // whose four length bytes claim 331.
        platform::Data::make(withMagic({1, 2, 3, 4})),
        platform::Data::make(withMagic({1, 2, 3, 4, 5})),
        platform::Data::make(withMagic({0x4B, 0x01, 0x00, 0x00})),
        platform::Data::make(withMagic(testsupport::incompressibleBytes(600, 13))),
        // A blob that is itself a stored form: compressing it again saves nothing.
        HCCompressableData::serializedDataFromData(bytesOf(kText)),
    };
    auto readsBackExactly = [](const DataPtr& stored, const DataPtr& blob) {
        EXPECT_TRUE(HCCompressableData::carriesHeader(stored->data(), stored->length()));
        auto read = HCCompressableData::uncompressedDataFromSerializedData(stored);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->toString(), blob->toString());
        auto holder = HCCompressableData::dataWithSerializedData(stored);
        ASSERT_TRUE(holder);
        ASSERT_TRUE(holder->uncompressedData());
        EXPECT_EQ(holder->uncompressedData()->toString(), blob->toString());
    };
    for (const auto& blob : lookalikes) {
        SCOPED_TRACE(blob->length());
        readsBackExactly(HCCompressableData::dataWithNSData(blob, true)->serializedData(), blob);
        readsBackExactly(HCCompressableData::dataWithNSData(blob, false)->serializedData(), blob);
        readsBackExactly(HCCompressableData::serializedDataFromData(blob), blob);
        ScopedCompressionDisabled off;
        readsBackExactly(HCCompressableData::dataWithNSData(blob, true)->serializedData(), blob);
    }
}

TEST(HCCompressableData, SwitchedOffItPassesRawBlobsThroughButStillDecodesTheHeaderForm)
{
    auto storedEarlier = HCCompressableData::serializedDataFromData(bytesOf(kText));
    ScopedCompressionDisabled off;
    auto input = bytesOf(kText);
    EXPECT_EQ(HCCompressableData::serializedDataFromData(input), input);
    EXPECT_EQ(HCCompressableData::uncompressedDataFromSerializedData(input), input);
    auto holder = HCCompressableData::dataWithNSData(input, true);
    EXPECT_EQ(holder->uncompressedSize(), 0u);

    auto read = HCCompressableData::uncompressedDataFromSerializedData(storedEarlier);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->toString(), kText);
}

TEST(HCCompressableData, HeaderLengthsThatDisagreeWithTheStreamFailTheRead)
{
    const std::vector<uint8_t> plain(kText.begin(), kText.end());
    const auto stream = zlibReference(plain);
    // Longer, shorter and absurd claims; a claim of 0 is no header form a writer makes.
    for (uint32_t claim : {332u, 330u, 1u, 0u, 0xFFFFFFFFu,
                           static_cast<uint32_t>(HCCompressableData::kMaxUncompressedLength + 1)}) {
        auto lying = headerForm(claim, stream);
        EXPECT_EQ(HCCompressableData::uncompressedDataFromSerializedData(lying), nullptr) << claim;
        auto holder = HCCompressableData::dataWithSerializedData(lying);
        if (holder) {
            EXPECT_EQ(holder->uncompressedData(), nullptr) << claim;
            EXPECT_FALSE(holder->uncompress()) << claim;
            EXPECT_EQ(holder->uncompressedSize(), claim) << "a failed uncompress changes nothing";
        }
    }
    // A stream cut short, one with a flipped byte, and a header with no stream.
    auto truncated = headerForm(331, std::vector<uint8_t>(stream.begin(), stream.end() - 5));
    EXPECT_EQ(HCCompressableData::uncompressedDataFromSerializedData(truncated), nullptr);
    auto corrupt = stream;
    corrupt[corrupt.size() / 2] ^= 0xFF;
    EXPECT_EQ(HCCompressableData::uncompressedDataFromSerializedData(headerForm(331, corrupt)), nullptr);
    EXPECT_EQ(HCCompressableData::uncompressedDataFromSerializedData(headerForm(331, {})), nullptr);
}

TEST(ZlibCodec, BoundedInflateStopsAtItsBoundAndAtTheStreamsCeiling)
{
    const std::vector<uint8_t> zeros(100000, 0);
    const auto stream = zlibReference(zeros);
    auto whole = storage::zlibInflateBounded(stream.data(), stream.size(), zeros.size());
    ASSERT_TRUE(whole);
    EXPECT_EQ(*whole, zeros);
    EXPECT_FALSE(storage::zlibInflateBounded(stream.data(), stream.size(), zeros.size() - 1));
    EXPECT_FALSE(storage::zlibInflateBounded(stream.data(), stream.size() - 1, zeros.size()));

    // No stream of n bytes claims more than 1032 × n: refused before inflating.
    EXPECT_FALSE(storage::zlibInflateExactly(stream.data(), 10, 10 * storage::kMaxDeflateRatio + 1));
    auto exact = storage::zlibInflateExactly(stream.data(), stream.size(), zeros.size());
    ASSERT_TRUE(exact);
    EXPECT_EQ(exact->size(), zeros.size());
}

TEST(HCCompressableData, AClaimIsNotAllocatedBeforeTheStreamBearsItOut)
{
    if (!blobtest::HeapPeak::available()) GTEST_SKIP() << "counting the heap needs AddressSanitizer's hooks";
    // 256 KiB that claim deflate's whole ceiling: a zlib header then garbage,
    // and a true stream of 256 KiB that simply ends too soon.
    const size_t streamLength = 256 * 1024;
    const auto claim = static_cast<uint32_t>(HCCompressableData::kMaxUncompressedLength);
    std::vector<uint8_t> garbage = testsupport::incompressibleBytes(streamLength, 17);
    garbage[0] = 0x78;
    garbage[1] = 0x9C;
    const auto shortStream = zlibReference(testsupport::incompressibleBytes(streamLength - 64, 19));
    ASSERT_LE(claim, shortStream.size() * storage::kMaxDeflateRatio);
    for (const auto& stream : {garbage, shortStream}) {
        auto lying = headerForm(claim, stream);
        DataPtr read = platform::Data::make({1});
        const size_t peak =
            blobtest::HeapPeak::during([&] { read = HCCompressableData::uncompressedDataFromSerializedData(lying); });
        EXPECT_EQ(read, nullptr);
        EXPECT_GT(peak, streamLength) << "the counter missed the read's output";
        EXPECT_LT(peak, 16 * streamLength) << "the read reserved its claim of " << claim << " bytes";
        auto holder = HCCompressableData::dataWithSerializedData(lying);
        ASSERT_TRUE(holder);
        const size_t holderPeak = blobtest::HeapPeak::during([&] { read = holder->uncompressedData(); });
        EXPECT_EQ(read, nullptr);
        EXPECT_LT(holderPeak, 16 * streamLength);
    }
}

TEST(HCCompressableData, StreamsThatInflateFarBeyondTheUsualRatioStillReadToTheExactLength)
{
    // 1 MiB of zeros is a stream of about a kilobyte, so the output grows many times.
    const std::vector<uint8_t> zeros(1024 * 1024, 0);
    auto stored = HCCompressableData::serializedDataFromData(platform::Data::make(zeros));
    ASSERT_LT(stored->length(), 4096u);
    auto read = HCCompressableData::uncompressedDataFromSerializedData(stored);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->bytes(), zeros);
    const auto stream = zlibReference(zeros);
    for (auto claim : {zeros.size() - 1, zeros.size() + 1}) {
        EXPECT_EQ(HCCompressableData::uncompressedDataFromSerializedData(headerForm(static_cast<uint32_t>(claim), stream)),
                  nullptr)
            << claim;
    }
}

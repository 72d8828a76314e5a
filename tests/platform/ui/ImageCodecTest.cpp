#include <gtest/gtest.h>

#include <cstdio>  // jpeglib.h needs FILE

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/foundation/Sandbox.h"
#include "platform/ui/Image.h"
#include "support/TestSupport.h"

using namespace platform;
using namespace platform::ui;

namespace {

// A smooth gradient with a translucent column, so lossy coding stays close.
ImagePtr gradient(int width, int height)
{
    std::vector<uint8_t> rgba;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            rgba.push_back(static_cast<uint8_t>(x * 255 / (width - 1)));
            rgba.push_back(static_cast<uint8_t>(y * 255 / (height - 1)));
            rgba.push_back(128);
            rgba.push_back(x == 0 ? 64 : 255);
        }
    }
    return Image::withPixels(width, height, std::move(rgba));
}

double meanColourDifference(const Image& a, const Image& b)
{
    double total = 0;
    for (int y = 0; y < a.pixelHeight(); ++y) {
        for (int x = 1; x < a.pixelWidth(); ++x) {  // the translucent column is not comparable in JPEG
            const Pixel p = a.pixelAt(x, y);
            const Pixel q = b.pixelAt(x, y);
            total += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
        }
    }
    return total / (3.0 * (a.pixelWidth() - 1) * a.pixelHeight());
}

ImagePtr uniform(int width, int height)
{
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 255);
    for (size_t i = 0; i < rgba.size(); i += 4) rgba[i] = 90;
    return Image::withPixels(width, height, std::move(rgba));
}

std::vector<uint8_t> grayPng(int width, int height)
{
    std::vector<uint8_t> gray(static_cast<size_t>(width) * static_cast<size_t>(height), 200);
    png_image header;
    std::memset(&header, 0, sizeof header);
    header.version = PNG_IMAGE_VERSION;
    header.width = static_cast<png_uint_32>(width);
    header.height = static_cast<png_uint_32>(height);
    header.format = PNG_FORMAT_GRAY;
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_get_memory_size(header, size, 0, gray.data(), 0, nullptr));
    std::vector<uint8_t> out(size);
    EXPECT_TRUE(png_image_write_to_memory(&header, out.data(), &size, 0, gray.data(), 0, nullptr));
    out.resize(size);
    return out;
}

// A JPEG written with libjpeg directly, in the forms our own encoder never
// makes: progressive, grayscale, with restart markers, or (sequential) one
// scan per colour component.
std::vector<uint8_t> libjpegImage(int width, int height, bool gray, bool progressive, int restartInterval,
                                  bool scanPerComponent = false)
{
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = gray ? 1 : 3;
    info.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    if (progressive) jpeg_simple_progression(&info);
    const jpeg_scan_info perComponent[3] = {{1, {0}, 0, 63, 0, 0}, {1, {1}, 0, 63, 0, 0}, {1, {2}, 0, 63, 0, 0}};
    if (scanPerComponent) {
        info.scan_info = perComponent;
        info.num_scans = 3;
    }
    info.restart_interval = static_cast<unsigned>(restartInterval);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(width) * static_cast<size_t>(info.input_components));
    while (info.next_scanline < info.image_height) {
        for (size_t x = 0; x < row.size(); ++x) row[x] = static_cast<uint8_t>(x * 7 + info.next_scanline * 13);
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

// The file up to the start of its scan number `scan` (from 0), then the end marker.
std::vector<uint8_t> cutBeforeScan(const std::vector<uint8_t>& jpeg, int scan)
{
    int seen = 0;
    // Entropy-coded data stuffs every 0xFF with 0x00: 0xFF 0xDA is only ever a marker.
    for (size_t i = 2; i + 1 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA && seen++ == scan) {
            std::vector<uint8_t> cut(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(i));
            cut.insert(cut.end(), {0xFF, 0xD9});
            return cut;
        }
    }
    return {};
}

void putBigEndian(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i) bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * (width - 1 - i)));
}

// Rewrites the frame header's height and width (baseline SOF0).
std::vector<uint8_t> withJpegSize(std::vector<uint8_t> jpeg, uint16_t width, uint16_t height)
{
    for (size_t i = 2; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            putBigEndian(jpeg, i + 5, height, 2);
            putBigEndian(jpeg, i + 7, width, 2);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no SOF0 marker";
    return jpeg;
}

// Rewrites IHDR's width and height and its CRC, so only the size lies.
std::vector<uint8_t> withPngSize(std::vector<uint8_t> png, uint32_t width, uint32_t height)
{
    putBigEndian(png, 16, width, 4);
    putBigEndian(png, 20, height, 4);
    const uLong crc = crc32(0, png.data() + 12, 17);
    putBigEndian(png, 29, static_cast<uint32_t>(crc), 4);
    return png;
}

}  // namespace

TEST(ImageCodecTest, PngRoundTripKeepsEveryPixelAndAlpha)
{
    const auto image = gradient(37, 21);
    const auto png = PNGRepresentation(image);
    ASSERT_TRUE(png);
    const auto decoded = Image::imageWithData(png);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->size(), Size(37, 21));
    EXPECT_EQ(decoded->rgba(), image->rgba());
}

TEST(ImageCodecTest, JpegRoundTripKeepsSizeAndColoursCloseAndQualityMatters)
{
    const auto image = gradient(64, 48);
    const auto best = JPEGRepresentation(image, 0.95);
    const auto worst = JPEGRepresentation(image, 0.0);
    ASSERT_TRUE(best && worst);
    EXPECT_LT(worst->length(), best->length());
    const auto decoded = Image::imageWithData(best);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->pixelWidth(), 64);
    EXPECT_EQ(decoded->pixelHeight(), 48);
    EXPECT_LT(meanColourDifference(*image, *decoded), 3.0);
    EXPECT_EQ(decoded->pixelAt(10, 10).a, 255);
    EXPECT_FALSE(JPEGRepresentation(nullptr, 0.7));
}

TEST(ImageCodecTest, GarbageAndTruncatedBytesGiveNoImage)
{
    const auto image = gradient(40, 40);
    const auto png = PNGRepresentation(image)->bytes();
    const auto jpeg = JPEGRepresentation(image, 0.8)->bytes();

    EXPECT_FALSE(Image::imageWithData(Data::fromString("")));
    EXPECT_FALSE(Image::imageWithData(Data::fromString("<html>not an image</html>")));
    EXPECT_FALSE(Image::imageWithData(std::shared_ptr<Data>()));
    for (size_t cut : {size_t{4}, size_t{8}, size_t{30}, png.size() / 2, png.size() - 13}) {
        EXPECT_FALSE(Image::imageWithData(Data(png.data(), cut))) << "png cut at " << cut;
    }
    for (size_t cut : {size_t{3}, size_t{20}, jpeg.size() / 3, jpeg.size() / 2, jpeg.size() - 10}) {
        EXPECT_FALSE(Image::imageWithData(Data(jpeg.data(), cut))) << "jpeg cut at " << cut;
    }
    // A right signature followed by noise.
    std::vector<uint8_t> noisy(png.begin(), png.begin() + 8);
    for (int i = 0; i < 500; ++i) noisy.push_back(static_cast<uint8_t>(i * 37));
    EXPECT_FALSE(Image::imageWithData(Data(noisy)));
    std::vector<uint8_t> noisyJpeg = {0xFF, 0xD8, 0xFF};
    for (int i = 0; i < 500; ++i) noisyJpeg.push_back(static_cast<uint8_t>(i * 91));
    EXPECT_FALSE(Image::imageWithData(Data(noisyJpeg)));
}

TEST(ImageCodecTest, DamagedJpegDataIsRefusedNotFilledWithGrey)
{
    const auto jpeg = JPEGRepresentation(gradient(64, 64), 0.9)->bytes();
    ASSERT_TRUE(Image::imageWithData(Data(jpeg)));

    // Half a file with its end marker put back.
    std::vector<uint8_t> half(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(jpeg.size() / 2));
    half.insert(half.end(), {0xFF, 0xD9});
    EXPECT_FALSE(Image::imageWithData(Data(half)));

    // A restart marker nobody announced, in the middle of the scan.
    std::vector<uint8_t> marked = jpeg;
    marked.insert(marked.begin() + static_cast<std::ptrdiff_t>(jpeg.size() * 3 / 4), {0xFF, 0xD3});
    EXPECT_FALSE(Image::imageWithData(Data(marked)));

    // Garbage between the scan and the end marker.
    std::vector<uint8_t> trailing(jpeg.begin(), jpeg.end() - 2);
    trailing.insert(trailing.end(), {0x12, 0x34, 0x56, 0xFF, 0xD9});
    EXPECT_FALSE(Image::imageWithData(Data(trailing)));
}

TEST(ImageCodecTest, ProgressiveGrayAndRestartMarkedJpegsStillDecode)
{
    const auto progressive = Image::imageWithData(Data(libjpegImage(300, 200, false, true, 0)));
    ASSERT_TRUE(progressive);
    EXPECT_EQ(progressive->pixelWidth(), 300);
    const auto gray = Image::imageWithData(Data(libjpegImage(33, 17, true, false, 1)));
    ASSERT_TRUE(gray);
    EXPECT_EQ(gray->pixelAt(1, 0).r, gray->pixelAt(1, 0).b);
}

TEST(ImageCodecTest, AJpegCutBetweenScansIsRefusedNotShownHalfRefined)
{
    // Progressive: each scan up to the last leaves some coefficient unsent
    // or short of its last bits.
    const auto progressive = libjpegImage(40, 24, false, true, 0);
    ASSERT_TRUE(Image::imageWithData(Data(progressive)));
    int scans = 0;
    while (!cutBeforeScan(progressive, scans + 1).empty()) ++scans;
    ASSERT_GT(scans, 3);
    for (int scan = 1; scan <= scans; ++scan) {
        EXPECT_FALSE(Image::imageWithData(Data(cutBeforeScan(progressive, scan)))) << "cut before scan " << scan;
    }
    const auto grayProgressive = libjpegImage(16, 16, true, true, 0);
    ASSERT_TRUE(Image::imageWithData(Data(grayProgressive)));
    EXPECT_FALSE(Image::imageWithData(Data(cutBeforeScan(grayProgressive, 1))));

    // Sequential, a component per scan: cut before the last, a colour is missing.
    const auto perComponent = libjpegImage(40, 24, false, false, 0, true);
    const auto whole = Image::imageWithData(Data(perComponent));
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->rgba(), Image::imageWithData(Data(libjpegImage(40, 24, false, false, 0)))->rgba());
    EXPECT_FALSE(Image::imageWithData(Data(cutBeforeScan(perComponent, 1))));
    EXPECT_FALSE(Image::imageWithData(Data(cutBeforeScan(perComponent, 2))));
}

TEST(ImageCodecTest, TinyFilesCannotDeclareHugeImages)
{
    // A few hundred bytes whose header claims 2610 x 1280: refused before
    // the pixels are allocated.
    const auto jpeg = JPEGRepresentation(gradient(16, 16), 0.5)->bytes();
    ASSERT_LT(jpeg.size(), 1000u);
    EXPECT_FALSE(Image::imageWithData(Data(withJpegSize(jpeg, 2610, 1280))));

    const auto png = grayPng(16, 16);
    ASSERT_TRUE(Image::imageWithData(Data(png)));
    EXPECT_FALSE(Image::imageWithData(Data(withPngSize(png, 2000, 2000))));

    // Genuine images that compress very well still decode at the cap: a
    // one-colour full-screen banner.
    const auto banner = JPEGRepresentation(uniform(2048, 1536), 0.3);
    const auto decodedBanner = Image::imageWithData(banner);
    ASSERT_TRUE(decodedBanner);
    EXPECT_EQ(decodedBanner->pixelWidth(), 2048);
    EXPECT_TRUE(Image::imageWithData(Data(grayPng(2048, 2048))));
}

TEST(ImageCodecTest, DecodedImagesAreCappedAtBannerSize)
{
    // Valid files, one past a cap each.
    EXPECT_FALSE(Image::imageWithData(JPEGRepresentation(uniform(2048, 2049), 0.3)));
    EXPECT_FALSE(Image::imageWithData(JPEGRepresentation(uniform(4097, 1), 0.3)));
    EXPECT_TRUE(Image::imageWithData(JPEGRepresentation(uniform(4096, 1), 0.3)));
    EXPECT_FALSE(Image::imageWithData(Data(grayPng(2049, 2048))));
    EXPECT_FALSE(Image::imageWithData(Data(grayPng(4097, 1))));
}

TEST(ImageCodecTest, OversizedImagesAreRefused)
{
    const int width = Image::kMaxDimension + 1;
    EXPECT_FALSE(Image::imageWithData(Data(grayPng(width, 1))));

    EXPECT_FALSE(Image::withPixels(width, 1, std::vector<uint8_t>(static_cast<size_t>(width) * 4)));
    EXPECT_FALSE(Image::withPixels(4096, 4097, std::vector<uint8_t>(size_t{4096} * 4097 * 4)));
    EXPECT_FALSE(Image::withPixels(2, 2, std::vector<uint8_t>(15)));
    EXPECT_FALSE(Image::withPixels(0, 2, {}));
}

TEST(ImageCodecTest, NamedImagesComeFromTheBundleOnly)
{
    testsupport::TempDir root;
    Sandbox::configure(root.str());
    std::filesystem::create_directories(Sandbox::bundlePath());
    const auto bytes = PNGRepresentation(gradient(5, 3))->bytes();
    const auto write = [&](const std::filesystem::path& path) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    };
    write(std::filesystem::path(Sandbox::bundlePath()) / "Icon.png");
    write(root.path() / "Secret.png");

    const auto icon = Image::imageNamed("Icon");
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->name(), "Icon.png");
    EXPECT_EQ(icon->size(), Size(5, 3));
    EXPECT_TRUE(Image::imageNamed("Icon.png"));
    EXPECT_FALSE(Image::imageNamed("Missing.png"));
    EXPECT_FALSE(Image::imageNamed("../Secret.png"));
    EXPECT_FALSE(Image::imageNamed((root.path() / "Secret.png").string()));
    Sandbox::reset();
    EXPECT_FALSE(Image::imageNamed("Icon.png"));
}

TEST(ImageCodecTest, StretchableCopySharesPixelsAndRecordsCaps)
{
    const auto image = gradient(60, 20);
    const auto stretchable = image->stretchableImage(10, -3);
    EXPECT_EQ(stretchable->leftCapWidth(), 10);
    EXPECT_EQ(stretchable->topCapHeight(), 0);
    EXPECT_EQ(&stretchable->rgba(), &image->rgba());
    EXPECT_EQ(image->leftCapWidth(), 0);
}

#include <gtest/gtest.h>

#include <limits>
#include <numbers>

#include "platform/ui/BitmapContext.h"

using namespace platform::ui;

namespace {

constexpr Pixel kRed{255, 0, 0, 255};
constexpr Pixel kBlue{0, 0, 255, 255};
constexpr Pixel kWhite{255, 255, 255, 255};
constexpr Pixel kClear{0, 0, 0, 0};

// White, with a red pixel at (1, 0) and a blue one at (0, height - 1).
ImagePtr marked(int width, int height)
{
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 255);
    const auto set = [&](int x, int y, Pixel p) {
        const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
        rgba[i] = p.r, rgba[i + 1] = p.g, rgba[i + 2] = p.b, rgba[i + 3] = p.a;
    };
    set(1, 0, kRed);
    set(0, height - 1, kBlue);
    return Image::withPixels(width, height, std::move(rgba));
}

}  // namespace

TEST(BitmapContextTest, DrawsUprightAndScalesToTheRectangle)
{
    BitmapContext context(Size(8, 6));
    context.drawInRect(*marked(4, 3), Rect(0, 0, 8, 6));
    const auto out = context.makeImage();
    ASSERT_TRUE(out);
    EXPECT_EQ(out->size(), Size(8, 6));
    // Each source pixel covers 2 x 2.
    EXPECT_EQ(out->pixelAt(2, 0), kRed);
    EXPECT_EQ(out->pixelAt(3, 1), kRed);
    EXPECT_EQ(out->pixelAt(0, 5), kBlue);
    EXPECT_EQ(out->pixelAt(7, 5), kWhite);

    // The low-level call assumes y grows upwards: the top row lands at the bottom.
    BitmapContext plain(Size(4, 4));
    plain.drawBitmap(*marked(4, 4), Rect(0, 0, 4, 4));
    EXPECT_EQ(plain.makeImage()->pixelAt(1, 3), kRed);
}

TEST(BitmapContextTest, QuarterTurnSwapsTheSidesAndMovesAKnownPixel)
{
    const auto image = marked(5, 3);
    // A 5 x 3 image turned a quarter clockwise lands in a 3 x 5 bitmap.
    BitmapContext context(Size(3, 5));
    context.translateCTM(3, 0);
    context.rotateCTM(std::numbers::pi / 2);
    context.drawInRect(*image, Rect(0, 0, 5, 3));
    const auto out = context.makeImage();
    ASSERT_TRUE(out);
    EXPECT_EQ(out->pixelWidth(), 3);
    EXPECT_EQ(out->pixelHeight(), 5);
    // Source (x, y) goes to (2 - y, x).
    EXPECT_EQ(out->pixelAt(2, 1), kRed);
    EXPECT_EQ(out->pixelAt(0, 0), kBlue);
    EXPECT_EQ(out->pixelAt(1, 4), kWhite);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 3; ++x) EXPECT_EQ(out->pixelAt(x, y).a, 255) << x << "," << y;
    }
}

TEST(BitmapContextTest, ScaleMultipliesPixelsAndTransparentPixelsLeaveTheBackground)
{
    BitmapContext context(Size(4, 4), true, 2.0);
    EXPECT_EQ(context.pixelWidth(), 8);
    std::vector<uint8_t> clear(4 * 4, 0);
    context.drawInRect(*Image::withPixels(2, 2, clear), Rect(0, 0, 4, 4));
    const auto out = context.makeImage();
    EXPECT_EQ(out->size(), Size(4, 4));
    EXPECT_EQ(out->pixelAt(3, 3), (Pixel{0, 0, 0, 255}));

    // Hostile numbers draw nothing and never crash.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    BitmapContext hostile(Size(4, 4));
    hostile.drawTiledImage(*marked(2, 2), Rect(0, 0, nan, 2));
    hostile.drawTiledImage(*marked(2, 2), Rect(0, 0, inf, 2));
    hostile.translateCTM(nan, 0);
    hostile.fillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(hostile.makeImage()->pixelAt(0, 0).a, 0);

    BitmapContext empty(Size(0, 10));
    empty.drawInRect(*marked(2, 2), Rect(0, 0, 2, 2));
    EXPECT_FALSE(empty.makeImage());
}

TEST(BitmapContextTest, ClipsFollowTheTransformAndSavedStatesNest)
{
    BitmapContext context(Size(4, 4));
    context.setFillColor(Color::redColor());
    context.saveGState();
    context.translateCTM(2, 0);
    context.clipToRect(Rect(0, 0, 1, 4));  // column 2 only
    context.saveGState();
    context.setFillColor(Color::blueColor());
    context.restoreGState();
    context.fillRect(Rect(-10, 0, 20, 1));
    EXPECT_EQ(context.clipBoundingBox(), Rect(0, 0, 1, 4));
    context.restoreGState();
    context.restoreGState();  // unmatched: nothing
    context.fillRect(Rect(0, 3, 1, 1));
    auto image = context.makeImage();
    EXPECT_EQ(image->pixelAt(2, 0), kRed);
    EXPECT_EQ(image->pixelAt(1, 0), kClear);
    EXPECT_EQ(image->pixelAt(3, 0), kClear);
    EXPECT_EQ(image->pixelAt(0, 3), kRed) << "the clip went with its state";

    context.setBlendMode(BlendMode::Copy);
    context.setFillColor(Color::clearColor());
    context.fillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(context.makeImage()->pixelAt(2, 0), kClear);
}

// drawRect and setNeedsDisplay, the current context's clip and saved states,
// tiled pattern fills and image contexts, read back pixel by pixel.
#include <cmath>

#include "ControllerTestFixture.h"
#include "platform/runtime/Thread.h"
#include "platform/ui/GraphicsContext.h"
#include "platform/ui/Layer.h"

using namespace platform::ui;

namespace {

class DrawingTest : public uitest::ControllerTest {};

const Pixel kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255}, kWhite{255, 255, 255, 255};
const Pixel kNone{0, 0, 0, 0};

// Top row red, green; bottom row blue, white.
ImagePtr quadrantTile()
{
    std::vector<uint8_t> rgba;
    for (const Pixel& p : {kRed, kGreen, kBlue, kWhite}) rgba.insert(rgba.end(), {p.r, p.g, p.b, p.a});
    return Image::withPixels(2, 2, rgba);
}

// Paints as the patterned backgrounds do: clipped, then the tile repeated in
// image coordinates (flipped), inside a saved state.
class PatternView : public View {
public:
    explicit PatternView(const Rect& frame) : View(frame) {}
    void drawRect(const Rect& rect) override
    {
        ++draws;
        if (again) setNeedsDisplay();
        if (!paints) return;
        BitmapContext* context = currentContext();
        context->clipToRect(clip);
        const ImagePtr tile = quadrantTile();
        context->saveGState();
        context->setBlendMode(BlendMode::Normal);
        context->translateCTM(0, tile->size().height);
        context->scaleCTM(1, -1);
        context->drawTiledImage(*tile, Rect(0, 0, tile->size().width, tile->size().height));
        context->restoreGState();
        (void)rect;
        stateRestored = context->ctm() == AffineTransform();
    }
    Rect clip = Rect(0, 0, 100, 100);
    bool paints = true;
    bool again = false;
    int draws = 0;
    bool stateRestored = false;
};

Pixel pixel(const View& view, int x, int y)
{
    return view.layer()->contents() ? view.layer()->contents()->pixelAt(x, y) : Pixel{};
}

TEST_F(DrawingTest, AViewDrawsOnTheNextTurnOncePerTurnAndOnlyInAWindow)
{
    auto view = std::make_shared<PatternView>(Rect(0, 0, 6, 6));
    auto later = std::make_shared<PatternView>(Rect(0, 0, 6, 6));
    later->paints = false;
    view->setNeedsDisplay();
    testsupport::drainMain();
    EXPECT_EQ(view->draws, 0) << "not in a window";

    window->addSubview(view);
    window->addSubview(later);
    EXPECT_EQ(view->draws, 0);
    testsupport::drainMain();
    EXPECT_EQ(view->draws, 1);
    EXPECT_EQ(pixel(*view, 0, 0), kRed);
    EXPECT_EQ(later->layer()->contents(), nullptr) << "a view that drew nothing keeps no bitmap";
    later->paints = true;
    later->setNeedsDisplay();

    for (int i = 0; i < 3; ++i) view->setNeedsDisplay();
    EXPECT_TRUE(view->needsDisplay());
    testsupport::drainMain();
    EXPECT_EQ(view->draws, 2);
    EXPECT_FALSE(view->needsDisplay());
    EXPECT_EQ(pixel(*later, 0, 0), kRed) << "a view may draw on a later turn";
    testsupport::drainMain();
    EXPECT_EQ(view->draws, 2);
}

TEST_F(DrawingTest, APatternRepeatsTheTileFromTheOriginWithinTheClipAndRestoresTheState)
{
    auto view = std::make_shared<PatternView>(Rect(0, 0, 6, 5));
    view->clip = Rect(1, 1, 4, 3);
    window->addSubview(view);
    testsupport::drainMain();
    ASSERT_EQ(view->draws, 1);
    EXPECT_TRUE(view->stateRestored);
    // A whole tile starts at the origin, upright: (2,2) shows its top left.
    const Pixel expected[3][4] = {{kWhite, kBlue, kWhite, kBlue}, {kGreen, kRed, kGreen, kRed}, {kWhite, kBlue, kWhite, kBlue}};
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x < 5 && y >= 1 && y < 4;
            EXPECT_EQ(pixel(*view, x, y), inside ? expected[y - 1][x - 1] : kNone) << x << "," << y;
        }
    }
}

TEST_F(DrawingTest, AnImageContextFlippedAndTurnedDrawsTheBitmapUpright)
{
    // A 50x50 picture: red top half, blue bottom half.
    std::vector<uint8_t> rgba;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) {
            const Pixel& p = y < 25 ? kRed : kBlue;
            rgba.insert(rgba.end(), {p.r, p.g, p.b, p.a});
        }
    auto picture = Image::withPixels(50, 50, rgba);

    beginImageContext(Size(50, 50));
    BitmapContext* context = currentContext();
    ASSERT_NE(context, nullptr);
    context->scaleCTM(-1, 1);
    context->rotateCTM(static_cast<float>(M_PI - 0.001));
    context->drawBitmap(*picture, Rect(0, -50, 50, 50));
    auto result = imageFromCurrentImageContext();
    endImageContext();
    EXPECT_EQ(currentContext(), nullptr);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->pixelAt(25, 5), kRed);
    EXPECT_EQ(result->pixelAt(25, 45), kBlue);
}

}  // namespace

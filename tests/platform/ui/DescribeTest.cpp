#include <gtest/gtest.h>

#include "ViewTestFixture.h"
#include "platform/ui/Describe.h"
#include "platform/ui/Window.h"

using namespace platform::ui;

namespace {

using DescribeTest = uitest::ViewTest;

class Caption : public View {
public:
    Caption(const Rect& frame, std::string text) : View(frame), text_(std::move(text)) {}
    std::string kindName() const override { return "Caption"; }
    std::string describe() const override { return "\"" + text_ + "\""; }

private:
    std::string text_;
};

TEST_F(DescribeTest, DumpsShownViewsIndentedBackToFront)
{
    auto window = Window::make(Rect(0, 0, 320, 480));
    window->makeKeyAndVisible();
    auto bar = View::make(Rect(0, 0, 320, 44));
    bar->setTag(5);
    bar->addSubview(std::make_shared<Caption>(Rect(10, 10, 300, 24), "Inbox"));
    auto dim = View::make(Rect(0, 0, 320, 480));
    dim->setTag(489);
    dim->setAlpha(0.85);
    auto hidden = View::make(Rect(1, 1, 1, 1));
    hidden->setHidden(true);
    hidden->addSubview(std::make_shared<Caption>(Rect(0, 0, 1, 1), "never shown"));
    auto invisible = View::make(Rect(2, 2, 2, 2));
    invisible->setAlpha(0);
    auto turned = View::make(Rect(0, 0, 100, 50));
    turned->setTransform(AffineTransform::quarterTurns(2));
    window->addSubview(bar);
    window->addSubview(dim);
    window->addSubview(hidden);
    window->addSubview(invisible);
    window->addSubview(turned);

    EXPECT_EQ(describe(window),
              "Window (0,0,320,480)\n"
              "  View (0,0,320,44) tag=5\n"
              "    Caption (10,10,300,24) \"Inbox\"\n"
              "  View (0,0,320,480) tag=489 alpha=0.85\n"
              "  View (0,0,100,50) transform=(-1,0,0,-1,0,0)\n");

    // The dump is a function of the tree: reordering changes it, repeating does not.
    EXPECT_EQ(describe(window), describe(window));
    window->sendSubviewToBack(dim);
    EXPECT_EQ(describe(window),
              "Window (0,0,320,480)\n"
              "  View (0,0,320,480) tag=489 alpha=0.85\n"
              "  View (0,0,320,44) tag=5\n"
              "    Caption (10,10,300,24) \"Inbox\"\n"
              "  View (0,0,100,50) transform=(-1,0,0,-1,0,0)\n");

    // A hidden window shows nothing.
    window->setHidden(true);
    EXPECT_EQ(describe(window), "");
    EXPECT_EQ(describe(nullptr), "");
}

}  // namespace

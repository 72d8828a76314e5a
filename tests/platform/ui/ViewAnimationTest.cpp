#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ViewTestFixture.h"
#include "platform/foundation/Values.h"
#include "platform/ui/Layer.h"

using namespace platform::ui;

namespace {

// Collects every report of animation blocks and layer animations in arrival order.
struct Recorder : ViewAnimationDelegate, AnimationDelegate {
    std::vector<std::string> events;

    void animationWillStart(const std::string& name, const platform::ObjectPtr&) override
    {
        events.push_back("willStart " + name);
    }
    void animationDidStop(const std::string& name, bool finished, const platform::ObjectPtr& context) override
    {
        std::string ctx = context ? " " + context->description() : "";
        events.push_back("stop " + name + (finished ? " finished" : " cut") + ctx);
    }
    void animationDidStart(const std::shared_ptr<Animation>& a) override
    {
        events.push_back("start " + keyOf(a));
    }
    void animationDidStop(const std::shared_ptr<Animation>& a, bool finished) override
    {
        events.push_back("stop " + keyOf(a) + (finished ? " finished" : " cut"));
    }
    static std::string keyOf(const std::shared_ptr<Animation>& a)
    {
        auto basic = std::dynamic_pointer_cast<BasicAnimation>(a);
        return basic ? basic->keyPath() : "transition";
    }
};

class ViewAnimationTest : public uitest::ViewTest {
protected:
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
    std::vector<std::string>& events = recorder->events;

    void step(double seconds)
    {
        clock.advance(seconds);
        testsupport::drainMain();
    }
};

TEST_F(ViewAnimationTest, BlockAppliesAtOnceAndReportsOnlyAfterDelayPlusDuration)
{
    auto view = View::make(Rect(0, 0, 100, 100));
    View::beginAnimations("fade", platform::String::make("ctx"));
    View::setAnimationDuration(0.5);
    View::setAnimationDelay(0.25);
    View::setAnimationDelegate(recorder);
    view->setAlpha(0.85);
    View::commitAnimations();

    EXPECT_EQ(view->alpha(), 0.85);  // the end state, at once
    testsupport::drainMain();
    EXPECT_TRUE(events.empty());
    step(0.25);
    EXPECT_EQ(events, (std::vector<std::string>{"willStart fade"}));
    step(0.375);
    EXPECT_EQ(events.size(), 1u);
    step(0.125);
    EXPECT_EQ(events, (std::vector<std::string>{"willStart fade", "stop fade finished ctx"}));
    step(10);
    EXPECT_EQ(events.size(), 2u);  // reported once
}

TEST_F(ViewAnimationTest, BlocksReportInTheOrderTheyEnd)
{
    auto view = View::make();
    View::animate(0.5, [&] { view->setAlpha(0.5); }, [this](bool f) { events.push_back(f ? "slow" : "slow cut"); });
    View::animate(0.25, [&] { view->setCenter(Point(5, 5)); }, [this](bool f) { events.push_back(f ? "fast" : "x"); });
    View::beginAnimations("named");
    View::setAnimationDuration(0.25);
    View::setAnimationDidStopCallback([this](const std::string& name, bool finished, const platform::ObjectPtr&) {
        events.push_back(name + (finished ? " done" : " cut"));
    });
    View::commitAnimations();

    step(0.25);
    EXPECT_EQ(events, (std::vector<std::string>{"fast", "named done"}));
    step(0.25);
    EXPECT_EQ(events, (std::vector<std::string>{"fast", "named done", "slow"}));
}

TEST_F(ViewAnimationTest, BlockAttachesOneLayerAnimationPerChangedProperty)
{
    auto view = View::make(Rect(0, 0, 100, 100));
    View::animate(0.5, [&] {
        view->setAlpha(0.3);
        view->setAlpha(0.85);            // the second change keeps the first start value
        view->setFrame(Rect(10, 0, 100, 100));  // moves, does not resize
        view->setHidden(true);           // not animatable
    });
    auto opacity = std::dynamic_pointer_cast<BasicAnimation>(view->layer()->animationForKey("opacity"));
    ASSERT_NE(opacity, nullptr);
    EXPECT_EQ(std::get<double>(opacity->fromValue()), 1.0);
    EXPECT_EQ(std::get<double>(opacity->toValue()), 0.85);
    EXPECT_EQ(opacity->duration(), 0.5);
    EXPECT_EQ(view->layer()->animationKeys(), (std::vector<std::string>{"opacity", "position"}));

    // Outside a block nothing is attached, and finished animations leave the layer.
    view->setAlpha(0.1);
    step(0.5);
    EXPECT_TRUE(view->layer()->animationKeys().empty());
}

TEST_F(ViewAnimationTest, ARemovedOrReplacedBlockEndsUnfinishedAtTheNextTurn)
{
    auto view = View::make();
    View::beginAnimations("dim");
    View::setAnimationDuration(0.5);
    View::setAnimationDelegate(recorder);
    view->setAlpha(0);
    View::commitAnimations();
    testsupport::drainMain();
    view->layer()->removeAllAnimations();
    EXPECT_EQ(events, (std::vector<std::string>{"willStart dim"}));  // reported at the next turn
    testsupport::drainMain();
    EXPECT_EQ(events, (std::vector<std::string>{"willStart dim", "stop dim cut"}));

    // A new animation of the same property cuts the old block.
    events.clear();
    auto other = View::make();
    View::animate(0.5, [&] { other->setAlpha(0); }, [this](bool f) { events.push_back(f ? "out" : "out cut"); });
    step(0.125);
    View::animate(0.5, [&] { other->setAlpha(1); }, [this](bool f) { events.push_back(f ? "in" : "in cut"); });
    testsupport::drainMain();
    EXPECT_EQ(events, (std::vector<std::string>{"out cut"}));
    step(0.5);
    EXPECT_EQ(events, (std::vector<std::string>{"out cut", "in"}));
}

TEST_F(ViewAnimationTest, DisabledAnimationsCompleteAtTheNextTurn)
{
    auto view = View::make();
    View::setAnimationsEnabled(false);
    View::animate(2.0, [&] { view->setAlpha(0.5); }, [this](bool f) { events.push_back(f ? "done" : "cut"); });
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(view->layer()->animationKeys().empty());
    testsupport::drainMain();
    EXPECT_EQ(events, (std::vector<std::string>{"done"}));
    EXPECT_EQ(view->alpha(), 0.5);
}

TEST_F(ViewAnimationTest, NestedBlocksInheritTimingAndReportSeparately)
{
    auto view = View::make();
    View::beginAnimations("outer");
    View::setAnimationDuration(1.0);
    View::setAnimationDelegate(recorder);
    View::beginAnimations("inner");
    View::setAnimationDelegate(recorder);
    view->setAlpha(0.5);
    View::commitAnimations();
    View::commitAnimations();
    View::commitAnimations();  // unbalanced: ignored
    step(0.875);
    EXPECT_EQ(events, (std::vector<std::string>{"willStart inner", "willStart outer"}));
    step(0.125);
    EXPECT_EQ(events, (std::vector<std::string>{"willStart inner", "willStart outer", "stop inner finished",
                                                "stop outer finished"}));
}

TEST_F(ViewAnimationTest, LayerAnimationReportsStartAndEndOnTheClock)
{
    auto layer = View::make()->layer();
    auto slide = BasicAnimation::make("position.y");
    slide->setFromValue(-50.0);
    slide->setToValue(25.0);
    slide->setDuration(0.25);
    slide->setTimingFunction(TimingFunction::EaseOut);
    slide->setDelegate(recorder);
    layer->addAnimation(slide, "position.y");

    // The layer holds a copy: changing the original afterwards changes nothing.
    slide->setDuration(5);
    auto attached = layer->animationForKey("position.y");
    ASSERT_NE(attached, nullptr);
    EXPECT_NE(attached, slide);
    EXPECT_EQ(attached->duration(), 0.25);
    EXPECT_EQ(attached->addedAt(), clock.now());

    testsupport::drainMain();
    EXPECT_EQ(events, (std::vector<std::string>{"start position.y"}));
    step(0.125);
    EXPECT_EQ(events.size(), 1u);
    step(0.125);
    EXPECT_EQ(events, (std::vector<std::string>{"start position.y", "stop position.y finished"}));
    EXPECT_EQ(layer->animationForKey("position.y"), nullptr);  // removed on completion
}

TEST_F(ViewAnimationTest, RemovedOrReplacedLayerAnimationsReportUnfinished)
{
    auto layer = View::make()->layer();
    auto first = BasicAnimation::make("opacity");
    first->setDuration(1);
    first->setDelegate(recorder);
    layer->addAnimation(first, "fade");
    auto second = BasicAnimation::make("opacity");
    second->setDuration(1);
    second->setDelegate(recorder);
    layer->addAnimation(second, "fade");  // replaces the first under the same key
    testsupport::drainMain();
    // The replaced one never started; it only hears that it was cut.
    EXPECT_EQ(events, (std::vector<std::string>{"stop opacity cut", "start opacity"}));

    layer->removeAnimationForKey("fade");
    layer->removeAnimationForKey("fade");  // nothing left: no second report
    testsupport::drainMain();
    step(2);
    EXPECT_EQ(events, (std::vector<std::string>{"stop opacity cut", "start opacity", "stop opacity cut"}));

    // Kept after completion: stays until removed, without a second report.
    events.clear();
    auto away = BasicAnimation::make("position.x");
    away->setDuration(0.5);
    away->setRemovedOnCompletion(false);
    away->setFillMode(FillMode::Forwards);
    away->setDelegate(recorder);
    layer->addAnimation(away, "position.x");
    step(0.5);
    ASSERT_NE(layer->animationForKey("position.x"), nullptr);
    EXPECT_TRUE(layer->animationForKey("position.x")->hasStopped());
    layer->removeAnimationForKey("position.x");
    testsupport::drainMain();
    EXPECT_EQ(events, (std::vector<std::string>{"start position.x", "stop position.x finished"}));

    // A layer that goes away drops its pending ends.
    events.clear();
    {
        auto gone = View::make();
        auto a = BasicAnimation::make("opacity");
        a->setDelegate(recorder);
        gone->layer()->addAnimation(a, "opacity");
    }
    step(1);
    EXPECT_TRUE(events.empty());
}

TEST_F(ViewAnimationTest, TransitionReportsLikeAnyLayerAnimation)
{
    auto container = View::make(Rect(0, 0, 320, 480));
    auto in = Transition::make(TransitionType::MoveIn, TransitionSubtype::FromTop);
    in->setDuration(0.375);
    in->setDelegate(recorder);
    container->layer()->addAnimation(in, Transition::kKey);
    container->addSubview(View::make());
    auto attached = std::dynamic_pointer_cast<Transition>(container->layer()->animationForKey("transition"));
    ASSERT_NE(attached, nullptr);
    EXPECT_EQ(attached->subtype(), TransitionSubtype::FromTop);
    step(0.25);
    EXPECT_EQ(events, (std::vector<std::string>{"start transition"}));
    step(0.125);
    EXPECT_EQ(events, (std::vector<std::string>{"start transition", "stop transition finished"}));
}

}  // namespace

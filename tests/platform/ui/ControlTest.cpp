#include <gtest/gtest.h>

#include "ViewTestFixture.h"
#include "platform/ui/Button.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Switch.h"

using namespace platform::ui;

namespace {

using ControlTest = uitest::ViewTest;

// Records the events a control sends, by name.
struct Recorder {
    std::vector<std::string> events;
    void watch(Control& control, unsigned mask, const std::string& name)
    {
        control.addTarget(this, [this, name](Control&) { events.push_back(name); }, mask);
    }
};

}  // namespace

TEST_F(ControlTest, TapSendsTouchUpInsideOnlyWhenAPersonCouldReachTheButton)
{
    auto parent = View::make(Rect(0, 0, 320, 480));
    auto button = Button::buttonWithType(ButtonType::RoundedRect);
    parent->addSubview(button);
    Recorder recorder;
    recorder.watch(*button, ControlEventTouchUpInside, "up");
    recorder.watch(*button, ControlEventTouchDown, "down");

    EXPECT_TRUE(button->tap());
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"down", "up"}));
    EXPECT_FALSE(button->isHighlighted());

    recorder.events.clear();
    button->setEnabled(false);
    EXPECT_FALSE(button->tap());
    button->setEnabled(true);
    button->setHidden(true);
    EXPECT_FALSE(button->tap());
    button->setHidden(false);
    parent->setUserInteractionEnabled(false);
    EXPECT_FALSE(button->tap());
    parent->setUserInteractionEnabled(true);
    parent->setAlpha(0);
    EXPECT_FALSE(button->tap());
    EXPECT_TRUE(recorder.events.empty());

    // Sending in code is not a tap: it goes out even when disabled.
    button->setEnabled(false);
    button->sendActionsForControlEvents(ControlEventTouchUpInside);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"up"}));
}

TEST_F(ControlTest, ActionsAreRemovedByTargetAndMayEditTheListWhileRunning)
{
    auto button = Button::buttonWithType(ButtonType::Custom);
    int mine = 0;
    int theirs = 0;
    int other = 0;
    button->addTarget(&mine, [&](Control&) { ++mine; }, ControlEventTouchUpInside);
    button->addTarget(&theirs, [&](Control&) { ++theirs; }, ControlEventTouchUpInside | ControlEventValueChanged);
    button->addTarget(&other, [&](Control& sender) {
        ++other;
        sender.removeTarget(&mine, ControlEventAllEvents);  // takes effect from the next send
    }, ControlEventTouchUpInside);
    EXPECT_EQ(button->allTargets(), (std::vector<const void*>{&mine, &theirs, &other}));

    button->sendActionsForControlEvents(ControlEventTouchUpInside);
    EXPECT_EQ(mine, 1);
    button->sendActionsForControlEvents(ControlEventTouchUpInside);
    EXPECT_EQ(mine, 1);
    EXPECT_EQ(theirs, 2);

    button->removeTarget(&theirs, ControlEventTouchUpInside);
    button->sendActionsForControlEvents(ControlEventTouchUpInside | ControlEventValueChanged);
    EXPECT_EQ(theirs, 3);  // still bound to value changed
    button->removeTarget(nullptr, ControlEventAllEvents);
    EXPECT_EQ(button->actionCount(ControlEventAllEvents), 0u);
}

TEST_F(ControlTest, ButtonShowsEachStatesValueOrFallsBackToNormal)
{
    auto button = Button::buttonWithType(ButtonType::Custom);
    const auto normal = Image::withPixels(2, 2, std::vector<uint8_t>(16, 255));
    button->setTitle("Send", ControlStateNormal);
    button->setTitle("Sending", ControlStateDisabled);
    button->setTitleColor(Color::redColor(), ControlStateHighlighted);
    button->setImage(normal, ControlStateNormal);

    button->setEnabled(false);
    EXPECT_EQ(button->titleLabel()->text(), "Sending");
    EXPECT_EQ(button->currentImage(), normal) << "no disabled image: the normal one";
    button->setEnabled(true);
    button->setHighlighted(true);
    EXPECT_EQ(button->titleLabel()->textColor(), Color::redColor());
    button->setSelected(true);  // highlighted and selected has no colour of its own: the normal one
    EXPECT_EQ(button->currentTitle(), "Send");
    EXPECT_EQ(button->currentTitleColor(), Color::whiteColor());
    button->setTitle(std::nullopt, ControlStateDisabled);
    EXPECT_EQ(button->titleForState(ControlStateDisabled), "Send");
}

TEST_F(ControlTest, SwitchFlipsOnlyForAPersonAndTellsTheChange)
{
    auto toggle = Switch::make();
    Recorder recorder;
    recorder.watch(*toggle, ControlEventValueChanged, "changed");
    toggle->setOn(true, true);
    EXPECT_TRUE(toggle->isOn());
    EXPECT_TRUE(recorder.events.empty());

    EXPECT_TRUE(toggle->toggle());
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(recorder.events.size(), 1u);
    EXPECT_EQ(toggle->describe(), "off");

    toggle->setEnabled(false);
    EXPECT_FALSE(toggle->toggle());
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(toggle->describe(), "off disabled");
}

TEST_F(ControlTest, SegmentsSelectByTapAndMomentaryOnesReset)
{
    auto tabs = SegmentedControl::make({std::string("All Time"), std::string("Today"), std::string("This week")});
    std::vector<int> seen;
    tabs->addTarget(nullptr, [&](Control& c) { seen.push_back(static_cast<SegmentedControl&>(c).selectedSegmentIndex()); },
                    ControlEventValueChanged);
    EXPECT_EQ(tabs->selectedSegmentIndex(), SegmentedControl::kNoSegment);
    tabs->setSelectedSegmentIndex(0);
    EXPECT_TRUE(seen.empty());

    EXPECT_FALSE(tabs->tapSegment(0));  // already selected
    EXPECT_TRUE(tabs->tapSegment(2));
    tabs->setEnabled(false, 1);
    EXPECT_FALSE(tabs->tapSegment(1));
    EXPECT_FALSE(tabs->tapSegment(7));
    EXPECT_EQ(seen, (std::vector<int>{2}));
    EXPECT_EQ(tabs->describe(), "\"All Time\" | \"Today\" disabled | [\"This week\"]");

    tabs->insertSegmentWithTitle("Friends", 0);
    EXPECT_EQ(tabs->selectedSegmentIndex(), 3);  // the selection moved with its segment
    tabs->removeSegmentAtIndex(3);
    EXPECT_EQ(tabs->selectedSegmentIndex(), SegmentedControl::kNoSegment);

    tabs->setMomentary(true);
    seen.clear();
    EXPECT_TRUE(tabs->tapSegment(0));
    EXPECT_TRUE(tabs->tapSegment(0));
    EXPECT_EQ(seen, (std::vector<int>{0, 0}));
    EXPECT_EQ(tabs->selectedSegmentIndex(), SegmentedControl::kNoSegment);

    tabs->setSelectedSegmentIndex(42);
    EXPECT_EQ(tabs->selectedSegmentIndex(), SegmentedControl::kNoSegment);
}

#include <gtest/gtest.h>

#include "ViewTestFixture.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/Utf8.h"
#include "platform/ui/Window.h"

using namespace platform;
using namespace platform::ui;

namespace {

class TextInputTest : public uitest::ViewTest {
protected:
    void SetUp() override
    {
        uitest::ViewTest::SetUp();
        Keyboard::reset();
        window = Window::make(Rect(0, 0, 320, 480));
        window->makeKeyAndVisible();
        for (const char* name : {KeyboardWillShowNotification, KeyboardDidShowNotification,
                                 KeyboardWillHideNotification, KeyboardDidHideNotification}) {
            NotificationCenter::defaultCenter().addObserver(this, name, [this](const Notification& n) {
                log.push_back(n.name);
                infos.push_back(n.userInfo);
            });
        }
    }

    void TearDown() override
    {
        NotificationCenter::defaultCenter().removeObserver(this);
        FirstResponder::resignCurrent();
        window.reset();
        Keyboard::reset();
        uitest::ViewTest::TearDown();
    }

    TextFieldPtr addField(const std::string& name)
    {
        auto field = TextField::make(Rect(10, 10, 200, 31));
        field->setPlaceholder(name);
        window->addSubview(field);
        return field;
    }

    std::shared_ptr<Window> window;
    std::vector<std::string> log;
    std::vector<std::shared_ptr<Dictionary>> infos;
};

// A delegate that writes down what it is asked and answers as told.
class FieldDelegate : public TextFieldDelegate {
public:
    std::vector<std::string> calls;
    size_t limit = 1000;  // characters, counted as the composer counts them
    std::optional<bool> mayBegin;
    std::optional<bool> mayEnd;
    std::optional<bool> mayReturn;
    std::vector<TextRange> ranges;

    std::optional<bool> textFieldShouldBeginEditing(TextField&) override
    {
        calls.push_back("shouldBegin");
        return mayBegin;
    }
    void textFieldDidBeginEditing(TextField&) override { calls.push_back("didBegin"); }
    std::optional<bool> textFieldShouldEndEditing(TextField&) override
    {
        calls.push_back("shouldEnd");
        return mayEnd;
    }
    void textFieldDidEndEditing(TextField&) override { calls.push_back("didEnd"); }
    std::optional<bool> textFieldShouldChangeCharactersInRange(TextField&, TextRange range,
                                                               const std::string& replacement) override
    {
        ranges.push_back(range);
        return range.location + range.length < limit || replacement.empty();
    }
    std::optional<bool> textFieldShouldReturn(TextField&) override
    {
        calls.push_back("shouldReturn");
        return mayReturn;
    }
};

}  // namespace

TEST_F(TextInputTest, TypingAsksAboutEveryCharacterAndKeepsOnlyAcceptedOnes)
{
    auto field = addField("Message");
    auto delegate = std::make_shared<FieldDelegate>();
    delegate->limit = 3;
    field->setDelegate(delegate);
    int changes = 0;
    field->addTarget(this, [&](Control&) { ++changes; }, ControlEventEditingChanged);

    EXPECT_EQ(field->typeText("h\u00e9\U0001F600llo"), 3u);
    EXPECT_EQ(field->text(), "h\u00e9\U0001F600");
    EXPECT_EQ(changes, 3);
    // Ranges count characters: the emoji is one.
    ASSERT_EQ(delegate->ranges.size(), 6u);
    EXPECT_EQ(delegate->ranges[2], (TextRange{2, 0}));
    EXPECT_EQ(delegate->ranges[3], (TextRange{3, 0}));

    // Deleting is always accepted by this delegate, and never splits the emoji.
    EXPECT_TRUE(field->deleteBackward());
    EXPECT_EQ(field->text(), "h\u00e9");
    EXPECT_EQ(delegate->ranges.back(), (TextRange{2, 1}));
    EXPECT_EQ(changes, 4);

    // Setting the text in code asks nobody and sends nothing; a refused edit keeps it.
    field->setText("whatever is longer than the limit");
    EXPECT_EQ(changes, 4);
    delegate->limit = 0;
    EXPECT_EQ(field->typeText("xyz"), 0u);
    EXPECT_EQ(field->text(), "whatever is longer than the limit");
    EXPECT_TRUE(field->isFirstResponder());
}

TEST_F(TextInputTest, AFieldThatMayNotBeginOrHasGoneTakesNoTextAndNoKeyboard)
{
    auto field = addField("Locked");
    auto delegate = std::make_shared<FieldDelegate>();
    delegate->mayBegin = false;
    field->setDelegate(delegate);
    EXPECT_EQ(field->typeText("abc"), 0u);
    EXPECT_EQ(field->text(), "");
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_TRUE(log.empty());

    auto disabled = addField("Disabled");
    disabled->setEnabled(false);
    EXPECT_FALSE(disabled->becomeFirstResponder());
    EXPECT_EQ(disabled->typeText("abc"), 0u);

    // A focused field that goes away takes the keyboard with it.
    {
        auto field = TextField::make();
        ASSERT_TRUE(field->becomeFirstResponder());
        EXPECT_TRUE(Keyboard::isVisible());
    }
    EXPECT_FALSE(Keyboard::isVisible());
    EXPECT_FALSE(FirstResponder::current());
    EXPECT_EQ(log.back(), KeyboardWillHideNotification);
}

TEST_F(TextInputTest, KeyboardWillAndDidBracketTheSlideOnTheClockAndCarryFramesDurationAndCurve)
{
    auto first = addField("First");
    auto second = addField("Second");
    ASSERT_TRUE(first->becomeFirstResponder());
    EXPECT_EQ(log, (std::vector<std::string>{KeyboardWillShowNotification}));
    ASSERT_TRUE(infos.back());
    const auto& info = *infos.back();
    EXPECT_EQ(info.get<RectValue>(KeyboardFrameBeginUserInfoKey)->value(), Rect(0, 480, 320, 216));
    EXPECT_EQ(info.get<RectValue>(KeyboardFrameEndUserInfoKey)->value(), Rect(0, 264, 320, 216));
    EXPECT_EQ(info.get<Number>(KeyboardAnimationDurationUserInfoKey)->doubleValue(), kKeyboardAnimationDuration);
    EXPECT_EQ(info.get<Number>(KeyboardAnimationCurveUserInfoKey)->intValue(), 0);
    EXPECT_EQ(keyboardSize(info), Size(320, 216));

    clock.advance(kKeyboardAnimationDuration - 0.01);
    testsupport::drainMain();
    EXPECT_EQ(log.size(), 1u);
    clock.advance(0.01);
    testsupport::drainMain();
    EXPECT_EQ(log, (std::vector<std::string>{KeyboardWillShowNotification, KeyboardDidShowNotification}));
    EXPECT_EQ(infos.back()->get<RectValue>(KeyboardFrameEndUserInfoKey)->value(), Rect(0, 264, 320, 216));

    // Moving the focus keeps the keyboard up: no notification.
    ASSERT_TRUE(second->becomeFirstResponder());
    EXPECT_EQ(log.size(), 2u);

    // Shown again while still sliding out: the slide out ends first.
    ASSERT_TRUE(second->resignFirstResponder());
    EXPECT_FALSE(Keyboard::isVisible());
    EXPECT_EQ(infos.back()->get<RectValue>(KeyboardFrameEndUserInfoKey)->value(), Rect(0, 480, 320, 216));
    ASSERT_TRUE(first->becomeFirstResponder());
    clock.advance(1);
    testsupport::drainMain();
    EXPECT_EQ(log, (std::vector<std::string>{KeyboardWillShowNotification, KeyboardDidShowNotification,
                                             KeyboardWillHideNotification, KeyboardDidHideNotification,
                                             KeyboardWillShowNotification, KeyboardDidShowNotification}));
    EXPECT_TRUE(Keyboard::isVisible());
}

TEST_F(TextInputTest, KeyboardFrameStaysInScreenCoordinatesAndTheSizeHelperTurnsIt)
{
    auto sizeNow = [] {
        auto info = Dictionary::make();
        info->setObject(KeyboardFrameEndUserInfoKey, RectValue::make(Keyboard::frame()));
        return keyboardSize(*info);
    };
    Application::shared()->setStatusBarOrientation(InterfaceOrientation::LandscapeRight, false);
    EXPECT_EQ(Keyboard::frame(), Rect(0, 0, 162, 480));
    EXPECT_EQ(sizeNow(), Size(480, 162));
    DeviceFacts::setLargeScreen(true);
    Application::shared()->setStatusBarOrientation(InterfaceOrientation::LandscapeLeft, false);
    EXPECT_EQ(Keyboard::frame(), Rect(768 - 352, 0, 352, 1024));
    EXPECT_EQ(sizeNow(), Size(1024, 352));
    Application::shared()->setStatusBarOrientation(InterfaceOrientation::Portrait, false);
    EXPECT_EQ(Keyboard::frame(), Rect(0, 1024 - 264, 768, 264));
    EXPECT_EQ(keyboardSize(*Dictionary::make()), Size());
}

TEST_F(TextInputTest, OneFirstResponderAtATimeWithEndEditingCalls)
{
    auto first = addField("First");
    auto second = addField("Second");
    auto firstDelegate = std::make_shared<FieldDelegate>();
    auto secondDelegate = std::make_shared<FieldDelegate>();
    first->setDelegate(firstDelegate);
    second->setDelegate(secondDelegate);
    std::vector<std::string> events;
    first->addTarget(this, [&](Control&) { events.push_back("first ended"); }, ControlEventEditingDidEnd);
    second->addTarget(this, [&](Control&) { events.push_back("second began"); }, ControlEventEditingDidBegin);

    ASSERT_TRUE(first->tap());
    EXPECT_TRUE(first->isFirstResponder());
    EXPECT_EQ(first->describe(), "placeholder \"First\" editing");

    ASSERT_TRUE(second->tap());
    EXPECT_FALSE(first->isFirstResponder());
    EXPECT_TRUE(second->isFirstResponder());
    EXPECT_EQ(FirstResponder::currentView(), second);
    EXPECT_EQ(firstDelegate->calls, (std::vector<std::string>{"shouldBegin", "didBegin", "shouldEnd", "didEnd"}));
    EXPECT_EQ(secondDelegate->calls, (std::vector<std::string>{"shouldBegin", "didBegin"}));
    EXPECT_EQ(events, (std::vector<std::string>{"first ended", "second began"}));

    // A holder that refuses to end keeps the focus.
    secondDelegate->mayEnd = false;
    EXPECT_FALSE(first->becomeFirstResponder());
    EXPECT_TRUE(second->isFirstResponder());
    EXPECT_FALSE(FirstResponder::resignCurrent());

    // Leaving the window ends editing without asking.
    second->removeFromSuperview();
    EXPECT_FALSE(second->isFirstResponder());
    EXPECT_EQ(secondDelegate->calls.back(), "didEnd");
    EXPECT_FALSE(Keyboard::isVisible());
}

TEST_F(TextInputTest, ResignWithinOnlyTouchesTheHolderInsideThatView)
{
    auto page = View::make(Rect(0, 0, 320, 480));
    window->addSubview(page);
    auto inside = TextField::make();
    page->addSubview(inside);
    auto outside = addField("Outside");

    ASSERT_TRUE(outside->becomeFirstResponder());
    EXPECT_TRUE(FirstResponder::resignWithin(*page));
    EXPECT_TRUE(outside->isFirstResponder());

    ASSERT_TRUE(inside->becomeFirstResponder());
    EXPECT_TRUE(FirstResponder::resignWithin(*page));
    EXPECT_FALSE(FirstResponder::currentView());
}

TEST_F(TextInputTest, ReturnKeyAsksTheDelegateAndEndsOnExitOnlyWhenBound)
{
    auto field = addField("Chat");
    auto delegate = std::make_shared<FieldDelegate>();
    field->setDelegate(delegate);
    ASSERT_TRUE(field->becomeFirstResponder());

    delegate->mayReturn = false;
    EXPECT_FALSE(field->pressReturn());
    EXPECT_TRUE(field->isFirstResponder());

    delegate->mayReturn = std::nullopt;  // not implemented: yes
    EXPECT_TRUE(field->pressReturn());
    EXPECT_TRUE(field->isFirstResponder());  // nothing bound to end on exit

    int exits = 0;
    field->addTarget(this, [&](Control&) { ++exits; }, ControlEventEditingDidEndOnExit);
    EXPECT_EQ(field->typeText("hi\nmore"), 2u);  // the return key ends the typing
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_EQ(field->text(), "hi");
}

TEST_F(TextInputTest, ClearButtonShowsByModeAndAsksFirst)
{
    auto field = addField("Search");
    field->setText("abc");
    EXPECT_FALSE(field->tapClearButton());  // mode never
    field->setClearButtonMode(TextFieldViewMode::WhileEditing);
    EXPECT_FALSE(field->isClearButtonVisible());
    field->becomeFirstResponder();
    EXPECT_TRUE(field->tapClearButton());
    EXPECT_EQ(field->text(), "");
    EXPECT_FALSE(field->isClearButtonVisible());  // nothing left to clear

    field->setSecureTextEntry(true);
    field->setText("pw\u00e9");
    EXPECT_EQ(field->describe(), "\"\u2022\u2022\u2022\" editing");
}

namespace {

class ComposerDelegate : public TextViewDelegate {
public:
    std::vector<std::string> calls;
    std::optional<bool> textViewShouldChangeTextInRange(TextView&, TextRange, const std::string& replacement) override
    {
        if (replacement == "\n") {
            calls.push_back("newline refused");
            return false;
        }
        return std::nullopt;
    }
    void textViewDidChange(TextView& view) override { calls.push_back("changed:" + view.text()); }
    void textViewDidBeginEditing(TextView&) override { calls.push_back("began"); }
};

class SearchDelegate : public SearchBarDelegate {
public:
    std::vector<std::string> calls;
    void searchBarTextDidChange(SearchBar&, const std::string& text) override { calls.push_back("text:" + text); }
    void searchBarSearchButtonClicked(SearchBar& bar) override { calls.push_back("search:" + bar.text()); }
    void searchBarCancelButtonClicked(SearchBar&) override { calls.push_back("cancel"); }
};

}  // namespace

TEST_F(TextInputTest, TextViewOffersEveryChangeAndGrowsItsContent)
{
    auto view = TextView::make(Rect(0, 0, 100, 40));
    window->addSubview(view);
    auto delegate = std::make_shared<ComposerDelegate>();
    view->setDelegate(delegate);

    EXPECT_EQ(view->typeText("ab\nc"), 3u);
    EXPECT_EQ(view->text(), "abc");
    EXPECT_EQ(delegate->calls,
              (std::vector<std::string>{"began", "changed:a", "changed:ab", "newline refused", "changed:abc"}));
    EXPECT_EQ(view->contentSize().height, 40);

    view->setText(std::string(200, 'a'));
    EXPECT_GT(view->contentSize().height, 40);

    view->resignFirstResponder();
    view->setEditable(false);
    EXPECT_EQ(view->typeText("x"), 0u);
    EXPECT_FALSE(view->isFirstResponder());
}

TEST_F(TextInputTest, SearchBarReportsTextSearchAndCancel)
{
    auto bar = SearchBar::make(Rect(0, 0, 320, 44));
    window->addSubview(bar);
    auto delegate = std::make_shared<SearchDelegate>();
    bar->setDelegate(delegate);

    EXPECT_FALSE(bar->pressSearch());  // no focus, no search key
    EXPECT_EQ(bar->typeText("bo"), 2u);
    EXPECT_TRUE(bar->deleteBackward());
    EXPECT_TRUE(bar->pressSearch());
    EXPECT_FALSE(bar->tapCancelButton());
    bar->setShowsCancelButton(true, true);
    EXPECT_TRUE(bar->tapCancelButton());
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"text:b", "text:bo", "text:b", "search:b", "cancel"}));
    EXPECT_EQ(bar->describe(), "\"b\" editing cancel");
}

// The dashboard's widgets: badges, the button panel, the text
// fields, the relationship sign, the tabbed page header and the view helper.
#include "core/clientstate/HCClientState.h"
#include "platform/ui/ControllerTestFixture.h"
#include "platform/ui/Describe.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextMetrics.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCTabbedPageHeaderController.h"
#include "uiframework/widgets/HCBadgeButton.h"
#include "uiframework/widgets/HCButtonPanel.h"
#include "uiframework/widgets/HCDefaultTextField.h"
#include "uiframework/widgets/HCExpandableSinglelineTextField.h"
#include "uiframework/widgets/HCUserRelationshipIndicator.h"
#include "uiframework/widgets/HCViewHelper.h"

using namespace platform::ui;

namespace {

class WidgetsTest : public uitest::ControllerTest {
protected:
    // A page of the key window's size holding `view`.
    std::shared_ptr<ViewController> showHolding(const ViewPtr& view)
    {
        auto page = std::make_shared<ViewController>();
        page->view()->addSubview(view);
        show(page);
        driver.settle();
        return page;
    }
};

TEST_F(WidgetsTest, BadgesHideAtZeroAndGrowForLongerCounts)
{
    auto badge = HCBadgeView::redBadge();
    EXPECT_TRUE(badge->isHidden()) << "nothing to say yet";
    badge->setCenter(Point(100, 100));
    badge->setValue(7);
    EXPECT_FALSE(badge->isHidden());
    EXPECT_EQ(badge->frame().width(), HCBadgeView::kHeight) << "round for one digit";
    badge->setValue(12345);
    EXPECT_GT(badge->frame().width(), HCBadgeView::kHeight);
    EXPECT_EQ(badge->center(), Point(100, 100)) << "grows around its centre";
    badge->setValue(0);
    EXPECT_TRUE(badge->isHidden());
    badge->setValueText("-");
    EXPECT_FALSE(badge->isHidden());
    badge->setValueText("0");
    EXPECT_TRUE(badge->isHidden());
    EXPECT_NE(HCBadgeView::greenBadge()->backgroundColor(), badge->backgroundColor());

    auto button = HCBadgeButton::make(Rect(0, 0, 100, 60));
    showHolding(button);
    button->setBadgeNumber(3);
    EXPECT_TRUE(Driver::findByText(button, "3"));
    EXPECT_NE(describe(button).find("HCBadgeView"), std::string::npos);
    button->layoutIfNeeded();
    EXPECT_EQ(button->badgeView()->frame().maxX(), 100);
    button->setBadgeNumber(0);
    EXPECT_EQ(describe(button).find("HCBadgeView"), std::string::npos) << "a hidden badge shows nothing";
}

TEST_F(WidgetsTest, ButtonPanelLaysOutSlotsRowByRowAndGivesDisabledButtonsBack)
{
    auto panel = std::make_shared<HCButtonPanel>(Rect(0, 0, 320, 400));
    auto header = View::make(Rect(0, 0, 10, 50));
    panel->setHeaderView(header);
    auto empty = Image::withPixels(1, 1, std::vector<uint8_t>(4, 255));
    panel->configureMaxButtonCount(6, Size(100, 80), 10, empty);
    panel->setFixedNumColumns(2);
    std::vector<ButtonPtr> buttons;
    for (int i = 0; i < 3; ++i) {
        buttons.push_back(std::make_shared<Button>());
        ASSERT_TRUE(panel->setButton(buttons.back(), static_cast<unsigned>(i)));
    }
    EXPECT_FALSE(panel->setButton(std::make_shared<Button>(), 6)) << "no seventh slot";
    showHolding(panel);
    // Two columns of 100 with 10 between, centred across 320; rows below the 50-point header.
    EXPECT_EQ(header->frame(), Rect(0, 0, 320, 50));
    EXPECT_EQ(buttons[0]->frame(), Rect(55, 50, 100, 80));
    EXPECT_EQ(buttons[1]->frame(), Rect(165, 50, 100, 80));
    EXPECT_EQ(buttons[2]->frame(), Rect(55, 140, 100, 80));
    EXPECT_EQ(Driver::findAll<ImageView>(panel).size(), 3u) << "the three empty slots show the empty image";

    // Centred vertically in the room below the header, below a navigation bar.
    panel->setWithNavBar(true);
    panel->setCenteredVertically(true);
    const double top = HCButtonPanel::kNavigationBarHeight + 50;
    const double grid = 3 * 80 + 2 * 10;
    EXPECT_EQ(buttons[0]->frame().minY(), top + (400 - top - grid) / 2);
    // Without fixed columns as many fit as the width allows.
    panel->setFixedNumColumns(0);
    EXPECT_EQ(panel->numColumns(), 3u);
    EXPECT_EQ(buttons[2]->frame().minX(), 220);
    panel->setBounds(Rect(0, 0, 768, 400));
    EXPECT_EQ(panel->numColumns(), 6u);

    panel->disableButton(buttons[1], empty);
    EXPECT_FALSE(buttons[1]->isEnabled());
    EXPECT_FALSE(driver.tapView(buttons[1]));
    panel->removeAllButtons();
    EXPECT_TRUE(buttons[1]->isEnabled()) << "a page that lays its buttons out again gets working buttons";
    EXPECT_EQ(buttons[1]->alpha(), 1);
    EXPECT_FALSE(buttons[1]->superview());
    EXPECT_FALSE(panel->buttonAtPosition(0));
}

TEST_F(WidgetsTest, DefaultTextFieldClosesTheKeyboardOnReturnAndKeepsItselfAboveIt)
{
    auto scroll = std::make_shared<ScrollView>(Rect(0, 0, 320, 460));
    scroll->setContentSize(Size(320, 900));
    auto field = std::make_shared<HCDefaultTextField>(Rect(10, 400, 300, 30));
    scroll->addSubview(field);
    showHolding(scroll);

    field->setManageScrollViewOnFocus(true);
    ASSERT_TRUE(driver.showKeyboard(field));
    driver.settle();
    const auto keyboard = scroll->convertRectFrom(Keyboard::frame(), nullptr);
    const auto shown = field->convertRectTo(field->bounds(), scroll);
    EXPECT_LE(shown.maxY() + HCDefaultTextField::kKeyboardMargin, keyboard.minY() + 0.001);
    EXPECT_GT(scroll->contentOffset().y, 0);

    // Return keeps the keyboard unless the field closes it.
    EXPECT_TRUE(driver.pressReturn(field));
    EXPECT_TRUE(field->isEditing());
    field->setCloseKeyboardOnReturn(true);
    EXPECT_TRUE(driver.pressReturn(field));
    driver.settle();
    EXPECT_FALSE(field->isEditing());
    EXPECT_FALSE(Keyboard::isVisible());
    EXPECT_EQ(scroll->contentOffset().y, 0) << "scrolled back";

    field->setCloseKeyboardOnReturn(false);
    ASSERT_TRUE(driver.showKeyboard(field));
    EXPECT_TRUE(driver.pressReturn(field));
    EXPECT_TRUE(field->isEditing());
}

class ResizeListener : public HCExpandableSinglelineTextFieldDelegate {
public:
    void multilineTextFieldDidResize(HCExpandableSinglelineTextField& field) override
    {
        heights.push_back(field.frame().height());
    }
    std::vector<double> heights;
};

TEST_F(WidgetsTest, ExpandableFieldGrowsWithItsTextBetweenItsLineBoundsAndSaysSo)
{
    auto field = HCExpandableSinglelineTextField::make(Rect(0, 100, 200, 10));
    auto listener = std::make_shared<ResizeListener>();
    field->setDelegate(listener);
    field->setMaxLines(3);
    showHolding(field);
    const double line = field->textView()->font()->lineHeight();
    const double oneLine = line + 2 * TextView::kTextInset;
    EXPECT_EQ(field->frame().height(), oneLine);
    EXPECT_EQ(field->frame().minY(), 100);

    driver.typeText(field->textView(), "short");
    EXPECT_EQ(field->visibleLines(), 1u);
    EXPECT_TRUE(listener->heights.empty()) << "no change, no news";
    driver.typeText(field->textView(), "\nsecond");
    EXPECT_EQ(field->visibleLines(), 2u);
    driver.typeText(field->textView(), "\nthird\nfourth\nfifth");
    EXPECT_EQ(field->visibleLines(), 3u) << "held at the maximum; the text scrolls";
    EXPECT_EQ(listener->heights, (std::vector<double>{oneLine + line, oneLine + 2 * line}));
    field->setText("");
    EXPECT_EQ(field->frame().height(), oneLine);
    EXPECT_EQ(listener->heights.size(), 3u);
    field->setMinLines(2);
    EXPECT_EQ(field->visibleLines(), 2u);
    field->setMaxLines(1);
    EXPECT_EQ(field->maxLines(), 2u) << "bounds stay in order";

    ASSERT_TRUE(field->becomeFirstResponder());
    EXPECT_TRUE(field->resignFirstResponder());
    EXPECT_FALSE(field->textView()->isFirstResponder());
}

TEST_F(WidgetsTest, ExpandableFieldKeepsTheHeightItsOwnerGaveForItsLinesAndMovesByALinePerLine)
{
    auto field = HCExpandableSinglelineTextField::make(Rect(6, 3, 240, 31));
    auto listener = std::make_shared<ResizeListener>();
    field->setDelegate(listener);
    showHolding(field);
    const double line = field->textView()->font()->lineHeight();
    auto frame = field->frame();
    frame.size.height = 22;
    field->setFrame(frame);
    // Setting the bounds refits nothing while the lines stay.
    field->setMinLines(1);
    field->setMaxLines(5);
    EXPECT_EQ(field->frame().height(), 22);
    driver.typeText(field->textView(), "gg");
    EXPECT_EQ(field->frame().height(), 22);
    EXPECT_TRUE(listener->heights.empty());
    field->setText("a\nb\nc\nd\ne\nf\ng");
    EXPECT_EQ(field->visibleLines(), 5u);
    EXPECT_EQ(field->frame().height(), 22 + 4 * line);
    field->setText("a\nb");
    EXPECT_EQ(field->frame().height(), 22 + line);
    field->setText("");
    EXPECT_EQ(field->frame().height(), 22);
    EXPECT_EQ(field->frame().minY(), 3);
    EXPECT_EQ(listener->heights, (std::vector<double>{22 + 4 * line, 22 + line, 22}));
}

TEST_F(WidgetsTest, RelationshipSignFollowsTheLinksBothWays)
{
    HCClientStateQueries queries;
    queries.lastLoggedInUserId = [] { return std::optional<std::string>("1001"); };
    HCClientState::setQueries(queries);
    HCUserRelationshipIndicator indicator;
    auto user = HCUser::initWithId<HCUser>("7");
    using R = HCUserRelationshipIndicator::Relationship;
    indicator.setUser(user);
    EXPECT_EQ(indicator.relationship(), R::None);
    EXPECT_TRUE(indicator.isHidden());
    user->setFollowedByLocalUser(true);
    indicator.setUser(user);
    EXPECT_EQ(indicator.relationship(), R::Following);
    EXPECT_FALSE(indicator.isHidden());
    user->setFollowsLocalUserAsString("true");
    indicator.setUser(user);
    EXPECT_EQ(indicator.relationship(), R::Friends);
    auto me = HCUser::initWithId<HCUser>("1001");
    me->setFollowsLocalUserAsString("true");
    indicator.setUser(me);
    EXPECT_EQ(indicator.relationship(), R::None) << "never for the local player";
    indicator.setUser(nullptr);
    EXPECT_TRUE(indicator.isHidden());
    HCClientState::setQueries({});
}

class TabbedPage : public platform::Object {
public:
    void showFriends() { picked.push_back("Friends"); }
    void showEveryone() { picked.push_back("Everyone"); }
    std::vector<std::string> picked;
};

TEST_F(WidgetsTest, TabbedHeaderSelectsTheFirstTabAtOnceAndCallsBackOnlyForThePlayersPicks)
{
    auto header = HCControllerLoader::load<HCTabbedPageHeaderController>("TabbedPageHeader");
    ASSERT_TRUE(header);
    auto page = std::make_shared<TabbedPage>();
    header->setCallbackTarget(page);
    header->addTab("Friends", &TabbedPage::showFriends);
    header->addTab("Everyone", &TabbedPage::showEveryone);
    EXPECT_EQ(page->picked, std::vector<std::string>{"Friends"});
    EXPECT_EQ(header->selectedTab(), "Friends");

    show(header);
    ASSERT_TRUE(driver.tapButton("Everyone"));
    ASSERT_TRUE(driver.tapButton("Everyone"));
    EXPECT_EQ(page->picked, (std::vector<std::string>{"Friends", "Everyone"})) << "the selected tab again: nothing";
    EXPECT_TRUE(header->buttonForTab("Everyone")->isSelected());
    EXPECT_FALSE(header->buttonForTab("Friends")->isSelected());

    EXPECT_TRUE(header->showTab("Friends"));
    EXPECT_EQ(page->picked.size(), 2u) << "showTab does not call back";
    EXPECT_FALSE(header->showTab("Nobody"));
    header->setBadgeValue(4, "Everyone");
    EXPECT_TRUE(Driver::findByText("4"));
    header->setBadgeValue(0, "Everyone");
    EXPECT_FALSE(Driver::findByText("4"));

    // A target that is gone is not called.
    page.reset();
    ASSERT_TRUE(driver.tapButton("Everyone"));
}

TEST_F(WidgetsTest, ViewHelperFindsByTagAndFitsTextBetweenItsSizes)
{
    auto root = View::make(Rect(0, 0, 100, 100));
    auto a = View::make();
    auto b = View::make();
    b->setTag(5);
    auto c = View::make();
    c->setTag(5);
    a->addSubview(b);
    root->addSubview(a);
    root->addSubview(c);
    EXPECT_EQ(HCViewHelper::findViewByTag(root, 5), b) << "depth first, in subview order";
    root->setTag(5);
    EXPECT_EQ(HCViewHelper::findViewByTag(root, 5), root) << "the root first";
    EXPECT_FALSE(HCViewHelper::findViewByTag(root, 6));
    EXPECT_FALSE(HCViewHelper::findViewByTag(nullptr, 5));

    auto font = Font::systemFontOfSize(20);
    const std::string text = "Bring your friends to the game";
    const Size box(120, 40);
    auto fitted = HCViewHelper::getFontToFitStringInSize(text, box, *font, 20, 8);
    ASSERT_TRUE(fitted);
    EXPECT_EQ(fitted->fontName(), font->fontName());
    EXPECT_LE(sizeWithFont(text, *fitted, Size(box.width, 1e9)).height, box.height);
    EXPECT_GT(sizeWithFont(text, *fitted->fontWithSize(fitted->pointSize() + 1), Size(box.width, 1e9)).height,
              box.height)
        << "the largest size that fits";
    EXPECT_EQ(HCViewHelper::getFontToFitStringInSize("short", box, *font, 20, 8)->pointSize(), 20);
    EXPECT_EQ(HCViewHelper::getFontToFitStringInSize(text, Size(10, 5), *font, 20, 8)->pointSize(), 8)
        << "nothing fits: the smallest";
    EXPECT_EQ(HCViewHelper::getFontToFitStringInSize("short", box, *font, 8, 20)->pointSize(), 20)
        << "bounds the wrong way round";
}

}  // namespace

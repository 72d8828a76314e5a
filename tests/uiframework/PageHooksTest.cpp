// The hooks the conversation-like pages build on: rows that arrive by
// notification, the form that sends quietly and can take back what it
// cleared, and the view a page keeps at the bottom of the dashboard's frame.
#include "dashboard/HCFramedNavigationController.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/TextField.h"
#include "transport/poller/HCPoller.h"
#include "uiframework/HCCustomBottomView.h"
#include "uiframework/form/HCFormControllerHelper.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"
#include "uiframework/support/UiServerTest.h"

using namespace platform::ui;
using uitest::UiItem;

namespace {

std::shared_ptr<UiItem> item(const std::string& id, const std::string& name)
{
    auto made = HCResource::initWithId<UiItem>(id);
    made->setName(name);
    return made;
}

void announce(const std::vector<platform::ObjectPtr>& items)
{
    auto info = platform::Dictionary::make();
    info->setObject(HCPollerNotificationKeyResources, platform::Array::make(items));
    platform::NotificationCenter::defaultCenter().post("ui_item_discovered", nullptr, info);
}

// Loads nothing itself: its rows come by notification.
class FeedPage : public HCTableSequenceControllerHelper, public HCCustomBottomView {
public:
    void doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate&) override
    {
        onSuccess.invoke(HCPaginatedSeries::paginatedSeries());
    }
    std::optional<std::string> getNotificationToRefreshAfter() override { return "ui_item_discovered"; }
    bool shouldRefreshAfterNotification() override { return true; }
    bool isNewContentShownAtBottom() override { return atBottom; }
    bool isNotificationResourceValid(const platform::ObjectPtr& resource) override
    {
        return platform::as<UiItem>(resource)->name() != "spam";
    }
    void onResourcesDownloaded(const HCPaginatedSeriesPtr& series) override { downloads.push_back(series->count()); }
    ViewPtr getBottomView() override { return bottom; }

    std::vector<std::string> names()
    {
        std::vector<std::string> out;
        for (const auto& section : sections())
            for (size_t i = 0; i < section->count(); ++i) out.push_back(platform::as<UiItem>(section->objectAtIndex(i))->name());
        return out;
    }

    bool atBottom = true;
    std::vector<size_t> downloads;
    ViewPtr bottom = View::make(Rect(0, 0, 100, 43));
};

class QuietForm : public HCFormControllerHelper {
public:
    void loadView() override
    {
        auto root = View::make(Rect(0, 0, 320, 416));
        field = TextField::make(Rect(10, 10, 300, 30));
        field->setTag(1);
        root->addSubview(field);
        setView(root);
    }
    void populateViewDataMap(HCViewDataMap& map) override { map.addFieldReference("name", 1); }
    std::string singularResourceName() override { return "item"; }
    std::string getFormSubmissionUrl() override { return "ui_forms.xml"; }
    void onBeforeFormSubmitted() override
    {
        taken = field->text();
        field->setText("");
    }
    void onFormSubmissionFailed(const platform::ObjectPtr&) override { field->setText(taken); }
    bool shouldShowLoadingScreenWhileSubmitting() override { return false; }
    bool shouldDismissKeyboardWhenSubmitting() override { return false; }

    std::shared_ptr<TextField> field;
    std::string taken;
};

class PageHooksTest : public uitest::UiServerTest {};

TEST_F(PageHooksTest, NotifiedRowsJoinOnceInTheirPlaceOnlyWhileThePageIsShown)
{
    auto page = std::make_shared<FeedPage>();
    auto navigation = HCNavigationController::withRootViewController(page);
    show(navigation);
    driver.settle();
    EXPECT_TRUE(page->names().empty());

    announce({item("1", "a"), item("2", "spam"), item("3", "b")});
    announce({item("3", "b"), item("4", "c")});
    EXPECT_EQ(page->names(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(page->downloads, (std::vector<size_t>{0, 2, 2}));
    EXPECT_EQ(page->tableView()->numberOfRowsInSection(0), 3);

    page->atBottom = false;
    announce({item("5", "d"), item("1", "a")});
    EXPECT_EQ(page->names(), (std::vector<std::string>{"d", "a", "b", "c"}));

    // Covered by another page it hears nothing; back on top it does again.
    navigation->pushViewController(std::make_shared<HCViewController>(), false);
    driver.settle();
    announce({item("6", "e")});
    EXPECT_EQ(page->names().size(), 4u);
    navigation->popViewController(false);
    driver.settle();
    announce({item("6", "e")});
    EXPECT_EQ(page->names().front(), "e");
}

TEST_F(PageHooksTest, AQuietFormKeepsTheKeyboardAndGetsItsFieldBackWhenTheSendFails)
{
    auto form = std::make_shared<QuietForm>();
    auto navigation = HCNavigationController::withRootViewController(form);
    show(navigation);
    driver.settle();
    driver.typeText(form->field, "taken");
    ASSERT_TRUE(form->field->isFirstResponder());
    ASSERT_TRUE(form->onSubmitForm());
    EXPECT_EQ(form->field->text(), "");
    EXPECT_FALSE(form->isShowingLoadingScreen());
    EXPECT_TRUE(form->field->isFirstResponder());
    ASSERT_TRUE(waitUntil([&] { return !form->isSubmitting(); }));
    EXPECT_EQ(server->log().entries().back().request.param("item[name]"), "taken");
    EXPECT_EQ(form->field->text(), "taken");
    EXPECT_EQ(AlertView::visibleAlerts().size(), 1u);
}

TEST_F(PageHooksTest, AQuietFormGetsItsFieldBackWhenTheSendCannotLeave)
{
    auto form = std::make_shared<QuietForm>();
    auto navigation = HCNavigationController::withRootViewController(form);
    show(navigation);
    driver.settle();
    form->field->setText("kept");
    HCService::setProvider(nullptr);
    EXPECT_FALSE(form->onSubmitForm());
    EXPECT_EQ(form->field->text(), "kept");
    EXPECT_FALSE(form->isSubmitting());
    EXPECT_TRUE(AlertView::visibleAlerts().empty());
}

TEST_F(PageHooksTest, TheBottomViewFollowsThePageShownAndRisesAboveTheKeyboard)
{
    auto page = std::make_shared<FeedPage>();
    auto navigation = HCFramedNavigationController::withRootViewController(page);
    show(navigation);
    driver.settle();
    const double height = navigation->view()->bounds().height();
    ASSERT_EQ(navigation->bottomView(), page->bottom);
    EXPECT_EQ(page->bottom->superview(), navigation->view());
    EXPECT_DOUBLE_EQ(page->bottom->frame().origin.y, height - 43);
    EXPECT_DOUBLE_EQ(page->bottom->frame().width(), navigation->view()->bounds().width());

    navigation->adjustForKeyboard(true, 216);
    EXPECT_DOUBLE_EQ(page->bottom->frame().origin.y, height - 43 - 216);
    navigation->adjustForKeyboard(false, 216);
    EXPECT_DOUBLE_EQ(page->bottom->frame().origin.y, height - 43);

    navigation->pushViewController(std::make_shared<HCViewController>(), false);
    driver.settle();
    EXPECT_FALSE(navigation->bottomView());
    EXPECT_FALSE(page->bottom->superview());
    navigation->popViewController(false);
    driver.settle();
    EXPECT_EQ(page->bottom->superview(), navigation->view());
}

}  // namespace

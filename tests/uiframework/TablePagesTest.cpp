// Table pages of the tests' own: a paged list from the local server, its
// messages, header, deletion and taps; a static table; replies that arrive
// late.
#include <algorithm>

#include "platform/runtime/ClassRegistry.h"
#include "platform/ui/Button.h"
#include "platform/ui/NibRegistry.h"
#include "support/RequestThreadGate.h"
#include "uiframework/HCContentWrapping.h"
#include "uiframework/HCNavigationController.h"
#include "uiframework/support/UiServerTest.h"
#include "uiframework/table/HCTableCellHelper.h"
#include "uiframework/table/HCTableCellHelperActionCell.h"
#include "uiframework/table/HCTableControllerHeader.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"
#include "uiframework/table/HCTableStaticControllerHelper.h"

using namespace platform::ui;
using uitest::UiItem;

namespace {

constexpr double kItemRowHeight = 60;

class HCUiItemCell : public HCTableCellHelper {
public:
    HCUiItemCell() { setFrame(Rect(0, 0, 320, kItemRowHeight)); }
    void onResourceChanged(const platform::ObjectPtr& resource) override
    {
        if (auto item = platform::as<UiItem>(resource)) textLabel()->setText(item->name());
    }
    bool hasConstantHeight() const override { return true; }
};

class HCUiHeaderController : public ViewController, public HCTableControllerHeader {
public:
    void loadView() override { setView(View::make(Rect(0, 0, 100, 80))); }
    void resizeView(const ViewPtr& pageView) override
    {
        events.push_back("resize");
        auto frame = view()->frame();
        frame.size.width = pageView->bounds().width();
        view()->setFrame(frame);
    }
    static inline std::vector<std::string> events;
};

class HCUiLeadingCell : public HCTableCellHelperActionCell {
public:
    HCUiLeadingCell() { setFrame(Rect(0, 0, 320, 30)); }
};

const bool registered = [] {
    platform::registerClass<HCUiItemCell>("HCUiItemCell");
    platform::registerClass<HCUiHeaderController>("HCUiHeaderController");
    platform::registerClass<HCUiLeadingCell>("HCUiLeadingCell");
    return true;
}();

class ItemsPage : public HCTableSequenceControllerHelper {
public:
    explicit ItemsPage(std::shared_ptr<uitest::UiItemService> service) : service_(std::move(service)) {}

    std::shared_ptr<HCService> getService() override { return service_; }
    void doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure) override
    {
        events.push_back("page " + std::to_string(page));
        service_->getItems(page, onSuccess, onFailure);
    }
    void populateResourceMap(HCResourceControllerMap& map) override { map.addResourceClass<UiItem>("UiItem"); }
    std::string getNoDataFoundMessage() override { return "Nothing in the list"; }
    std::string getDataNotLoadedYetMessage() override { return "Tap refresh to load"; }
    bool autoLoadData() override { return autoLoad; }
    std::optional<std::string> getTableHeaderControllerName() override { return headerName; }
    void onTableHeaderCreated(const platform::ObjectPtr&) override { HCUiHeaderController::events.push_back("created"); }
    platform::ui::ViewControllerPtr getNoDataFoundViewController() override { return emptyController; }
    bool allowEditing() override { return true; }
    bool shouldConfirmResourceDeletion() override { return true; }
    std::string getResourceDeletePromptText(const platform::ObjectPtr& resource) override
    {
        return "Remove " + platform::as<UiItem>(resource)->name() + "?";
    }
    void onResourceWasDeleted(const platform::ObjectPtr& resource) override { deleted.push_back(resource); }
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPath) override
    {
        clicked.emplace_back(resource, indexPath);
    }
    void onBeforeResourcesProcessed(const HCPaginatedSeriesPtr& series) override
    {
        events.push_back("before " + std::to_string(series->count()));
    }

    std::vector<std::string> names()
    {
        std::vector<std::string> out;
        for (const auto& section : sections())
            for (size_t i = 0; i < section->count(); ++i)
                if (auto item = platform::as<UiItem>(section->objectAtIndex(i))) out.push_back(item->name());
        return out;
    }

    bool autoLoad = true;
    std::optional<std::string> headerName;
    platform::ui::ViewControllerPtr emptyController;
    std::vector<std::string> events;
    std::vector<platform::ObjectPtr> deleted;
    std::vector<std::pair<platform::ObjectPtr, IndexPath>> clicked;

private:
    std::shared_ptr<uitest::UiItemService> service_;
};

std::vector<std::string> itemNames(int from, int to)
{
    std::vector<std::string> out;
    for (int i = from; i <= to; ++i) out.push_back("Item " + std::to_string(i));
    return out;
}

class TablePagesTest : public uitest::UiServerTest {
protected:
    void TearDown() override
    {
        for (const auto& name : nibsToDrop) NibRegistry::unregisterNib(name);
        uitest::UiServerTest::TearDown();
    }
    std::vector<std::string> nibsToDrop;
    std::shared_ptr<ItemsPage> makePage() { return std::make_shared<ItemsPage>(service); }

    // The page shown as the root of a navigation controller in the key window.
    std::shared_ptr<HCNavigationController> showInNavigation(const ViewControllerPtr& page)
    {
        auto navigation = HCNavigationController::withRootViewController(page);
        show(navigation);
        driver.settle();
        return navigation;
    }
    bool waitForRows(const std::shared_ptr<ItemsPage>& page, size_t rows)
    {
        return waitUntil([&] { return page->names().size() >= rows && !page->isLoadingData(); });
    }
    void scrollToBottom(const TableViewPtr& table)
    {
        const double bottom = table->contentSize().height - table->bounds().height();
        driver.dragScrollView(table, 0, std::max(0.0, bottom - table->contentOffset().y));
    }
    // The next `times` replies of the list: items `from`..`to` under a
    // pagination header with these children.
    void armItemsReply(const std::string& headerChildren, int from, int to, int times = 1)
    {
        std::string xml = "<resources><pagination_header>" + headerChildren + "</pagination_header>";
        for (int i = from; i <= to; ++i)
            xml += "<ui_item><id>" + std::to_string(i) + "</id><name>Item " + std::to_string(i) + "</name></ui_item>";
        xml += "</resources>";
        server->faults().injectFor("GET", "ui_items.xml", localserver::Fault::reply(200, xml, "application/xml"), times);
    }
    // The player scrolls away from the last row and back to it, and the rows
    // are laid out anew, `times` over; each time what came back is taken.
    void revisitLastRow(const std::shared_ptr<ItemsPage>& page, int times)
    {
        for (int i = 0; i < times; ++i) {
            driver.dragScrollView(page->tableView(), 0, -200);
            scrollToBottom(page->tableView());
            page->tableView()->reloadData();
            driver.settle();
            ASSERT_TRUE(waitUntilLoaded(page)) << "still loading after round " << i;
            waitForProviderIdle();
        }
    }
    bool waitUntilLoaded(const std::shared_ptr<ItemsPage>& page)
    {
        return waitUntil([&] { return !page->isLoadingData(); });
    }
    std::optional<std::string> lastPageAsked() { return server->log().entries().back().request.param("page"); }
};

TEST_F(TablePagesTest, PagedListLoadsFromTheServerAndMoreRowsComeOnScroll)
{
    auto page = makePage();
    {
        // Held, so that the reply cannot arrive while the driver settles.
        testsupport::RequestThreadGate gate(provider->requestThread());
        showInNavigation(page);
        EXPECT_TRUE(page->isShowingLoadingScreen());
    }
    ASSERT_TRUE(waitForRows(page, 10));
    EXPECT_FALSE(page->isShowingLoadingScreen());
    EXPECT_EQ(page->names(), itemNames(1, 10));
    auto notes = page->getMetaDataOfType<uitest::UiNote>();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0]->text(), "page 1");
    EXPECT_TRUE(Driver::findByText("Item 1"));
    EXPECT_EQ(requestsTo("ui_items.xml"), 1u) << "ten rows of 60 overfill the screen: no second page yet";

    auto table = page->tableView();
    scrollToBottom(table);
    ASSERT_TRUE(waitForRows(page, 20));
    EXPECT_EQ(page->getMetaDataOfType<uitest::UiNote>()[0]->text(), "page 2") << "metadata of the last reply";
    scrollToBottom(table);
    ASSERT_TRUE(waitForRows(page, 25));
    EXPECT_EQ(page->names(), itemNames(1, 25)) << "pages in order, none lost or repeated";
    EXPECT_FALSE(page->hasMorePages());
    scrollToBottom(table);
    waitForProviderIdle();
    EXPECT_EQ(requestsTo("ui_items.xml"), 3u) << "no page after the last";
    EXPECT_EQ(page->events, (std::vector<std::string>{"page 1", "before 10", "page 2", "before 10", "page 3", "before 5"}));
    EXPECT_EQ(table->numberOfRowsInSection(0), 25);
    EXPECT_TRUE(Driver::findByText("Item 25"));

    // A tap gives the page the row's resource.
    ASSERT_TRUE(driver.selectRowWithText("Item 24"));
    ASSERT_EQ(page->clicked.size(), 1u);
    EXPECT_EQ(platform::as<UiItem>(page->clicked[0].first)->name(), "Item 24");
    EXPECT_EQ(page->clicked[0].second, IndexPath(0, 23));
    EXPECT_EQ(page->getFirstIndexPathForResource(UiItem::initWithId<UiItem>("24")), IndexPath(0, 23));

    // A refresh starts over at page 1 and replaces the rows.
    *itemCount = 3;
    page->reloadDataFromServer();
    ASSERT_TRUE(waitUntil([&] { return page->names().size() == 3; }));
    EXPECT_EQ(page->names(), itemNames(1, 3));
}

TEST_F(TablePagesTest, EmptyListAndNotLoadedYetShowTheirMessagesOrTheEmptyPage)
{
    *itemCount = 0;
    auto page = makePage();
    page->autoLoad = false;
    showInNavigation(page);
    EXPECT_TRUE(Driver::findByText("Tap refresh to load"));
    EXPECT_FALSE(Driver::findByText("Nothing in the list"));
    waitForProviderIdle();
    EXPECT_EQ(requestsTo("ui_items.xml"), 0u) << "a page that does not load by itself asks nothing";

    page->reloadDataFromServer();
    ASSERT_TRUE(waitUntil([&] { return page->hasLoadedData(); }));
    EXPECT_FALSE(Driver::findByText("Tap refresh to load"));
    EXPECT_TRUE(Driver::findByText("Nothing in the list"));

    // Data makes the message go; an empty page of its own replaces the table.
    *itemCount = 2;
    page->reloadDataFromServer();
    ASSERT_TRUE(waitUntil([&] { return page->names().size() == 2; }));
    EXPECT_FALSE(Driver::findByText("Nothing in the list"));
    auto emptyPage = std::make_shared<ViewController>();
    emptyPage->setView(Label::make(Rect(0, 0, 320, 40)));
    std::static_pointer_cast<Label>(emptyPage->view())->setText("Invite some friends");
    page->emptyController = emptyPage;
    *itemCount = 0;
    page->reloadDataFromServer();
    ASSERT_TRUE(waitUntil([&] { return page->names().empty(); }));
    EXPECT_TRUE(Driver::findByText("Invite some friends"));
    EXPECT_FALSE(Driver::findByText("Nothing in the list"));
    EXPECT_TRUE(page->tableView()->isHidden());
    *itemCount = 1;
    page->reloadDataFromServer();
    ASSERT_TRUE(waitUntil([&] { return page->names().size() == 1; }));
    EXPECT_FALSE(Driver::findByText("Invite some friends"));
    EXPECT_FALSE(page->tableView()->isHidden());
}

TEST_F(TablePagesTest, HeaderIsLoadedByNameOnceAndResizedToThePageBeforeItShows)
{
    HCUiHeaderController::events.clear();
    auto page = makePage();
    page->headerName = "UiHeader";
    auto navigation = showInNavigation(page);
    auto header = page->tableView()->tableHeaderView();
    ASSERT_TRUE(header);
    EXPECT_EQ(header->frame().width(), page->view()->bounds().width());
    EXPECT_EQ(header->frame().height(), 80);
    EXPECT_EQ(HCUiHeaderController::events, (std::vector<std::string>{"created", "resize"}));
    ASSERT_TRUE(waitForRows(page, 10));
    EXPECT_EQ(page->tableView()->rectForRowAtIndexPath(IndexPath(0, 0)).origin.y, 80) << "rows start below the header";

    // Shown again (after a page above it was popped), the header is not made again.
    navigation->pushViewController(std::make_shared<ViewController>(), false);
    navigation->popViewController(false);
    EXPECT_EQ(HCUiHeaderController::events.size(), 2u);
    EXPECT_EQ(page->tableView()->tableHeaderView(), header);
}

TEST_F(TablePagesTest, SwipeDeleteAsksFirstAndTheBaseTakesTheRowOut)
{
    auto page = makePage();
    showInNavigation(page);
    ASSERT_TRUE(waitForRows(page, 10));
    auto table = page->tableView();

    ASSERT_TRUE(driver.deleteRow(table, IndexPath(0, 2)));
    ASSERT_EQ(ActionSheet::visibleSheets().size(), 1u);
    EXPECT_EQ(ActionSheet::visibleSheets()[0]->title(), "Remove Item 3?");
    ASSERT_TRUE(driver.answerSheet("Cancel"));
    EXPECT_EQ(page->names().size(), 10u);
    EXPECT_TRUE(page->deleted.empty());

    ASSERT_TRUE(driver.deleteRow(table, IndexPath(0, 2)));
    ASSERT_TRUE(driver.answerSheet("Delete"));
    ASSERT_EQ(page->deleted.size(), 1u);
    EXPECT_EQ(platform::as<UiItem>(page->deleted[0])->name(), "Item 3");
    EXPECT_EQ(table->numberOfRowsInSection(0), 9);
    EXPECT_EQ(table->recordedUpdates().back().kind, TableView::Update::Kind::Delete);
    EXPECT_EQ(platform::as<UiItem>(page->getResourceAtIndexPath(IndexPath(0, 2)))->name(), "Item 4");

    // The Edit switch puts the table in editing mode, where the delete control asks the same.
    ASSERT_TRUE(driver.tapBarButton("Edit"));
    EXPECT_TRUE(table->isEditing());
    ASSERT_TRUE(driver.deleteRow(table, IndexPath(0, 0)));
    ASSERT_TRUE(driver.answerSheet("Delete"));
    EXPECT_EQ(page->names().front(), "Item 2");
    ASSERT_TRUE(driver.tapBarButton("Done"));
    EXPECT_FALSE(table->isEditing());

    // The next page after a deletion still follows on without a gap or repeat.
    scrollToBottom(table);
    ASSERT_TRUE(waitForRows(page, 18));
    auto names = page->names();
    EXPECT_EQ(std::vector<std::string>(names.begin() + 8, names.end()), itemNames(11, 20));
}

TEST_F(TablePagesTest, AReplyArrivingAfterThePageWasPoppedCallsBackNothing)
{
    auto root = std::make_shared<HCViewController>();
    auto navigation = showInNavigation(root);
    auto page = makePage();
    {
        // Held until the page has left: its reply comes after that, however
        // fast the server.
        testsupport::RequestThreadGate gate(provider->requestThread());
        navigation->pushViewController(page, false);
        driver.settle();
        ASSERT_EQ(page->events, std::vector<std::string>{"page 1"}) << "the load started";
        EXPECT_TRUE(page->isShowingLoadingScreen());
        navigation->popViewController(false);
        EXPECT_FALSE(page->isShowingLoadingScreen()) << "nothing is coming for it";
        EXPECT_FALSE(page->isLoadingData());
    }
    waitForProviderIdle();
    EXPECT_EQ(requestsTo("ui_items.xml"), 1u);
    EXPECT_FALSE(page->hasLoadedData());
    EXPECT_EQ(page->events, std::vector<std::string>{"page 1"}) << "no processing of the reply";
    EXPECT_TRUE(page->sections().empty());

    // Pushed again, it loads by itself (it has nothing yet) and hears its reply.
    navigation->pushViewController(page, false);
    EXPECT_EQ(page->events, (std::vector<std::string>{"page 1", "page 1"}));
    ASSERT_TRUE(waitForRows(page, 10));
    EXPECT_FALSE(page->isShowingLoadingScreen());
}

// Pages whose loads the test answers by hand, in any order.
class HandAnsweredPage : public HCTableSequenceControllerHelper {
public:
    void doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure) override
    {
        calls.push_back({page, onSuccess, onFailure});
    }
    void populateResourceMap(HCResourceControllerMap& map) override { map.addResourceClass<UiItem>("UiItem"); }
    struct Call {
        int page;
        HCDelegate success;
        HCDelegate failure;
    };
    std::vector<Call> calls;
};

std::shared_ptr<HCPaginatedSeries> seriesOf(std::vector<std::string> ids, uint32_t page, uint32_t pages)
{
    auto series = HCPaginatedSeries::paginatedSeries();
    for (const auto& id : ids) {
        auto item = UiItem::initWithId<UiItem>(id);
        item->setName("Item " + id);
        series->addObject(item);
    }
    series->setHeader(std::make_shared<HCPaginatedSeriesHeader>(0, page, pages, 10, pages * 10));
    return series;
}

TEST_F(TablePagesTest, OnlyTheLatestLoadCountsAndANextPageRepeatsNoRowAndLosesNone)
{
    auto page = std::make_shared<HandAnsweredPage>();
    auto navigation = HCNavigationController::withRootViewController(page);
    show(navigation);
    ASSERT_EQ(page->calls.size(), 1u);
    page->reloadDataFromServer();
    ASSERT_EQ(page->calls.size(), 2u);
    // The second load answers first; the first one's late reply changes nothing.
    page->calls[1].success.invoke(seriesOf({"5", "6"}, 1, 3));
    page->calls[0].success.invoke(seriesOf({"1", "2"}, 1, 3));
    driver.settle();
    ASSERT_EQ(page->sections().size(), 1u);
    EXPECT_EQ(page->sections()[0]->count(), 2u);
    EXPECT_EQ(platform::as<UiItem>(page->getResourceAtIndexPath(IndexPath(0, 0)))->resourceId(), "5");

    // Both rows show, so the last row asks for page 2 at once. A next page
    // whose first row was already shown (the list moved on the server
    // meanwhile) adds the rest, not nothing.
    ASSERT_EQ(page->calls.size(), 3u);
    EXPECT_EQ(page->calls[2].page, 2);
    page->calls[2].success.invoke(seriesOf({"6", "7", "8"}, 2, 3));
    driver.settle();
    EXPECT_EQ(page->sections()[0]->count(), 4u);
    ASSERT_EQ(page->calls.size(), 4u);
    EXPECT_EQ(page->calls[3].page, 3);
    // A failed next page keeps the rows.
    page->calls[3].failure.invoke(nullptr);
    driver.settle();
    EXPECT_EQ(page->sections()[0]->count(), 4u);
    EXPECT_FALSE(page->isLoadingData());
}

TEST_F(TablePagesTest, APageThatDoesNotMoveOnIsAskedForOnceAndEndsThePaging)
{
    // A server that ignores the page asked for: every reply is page 1 of 3.
    armItemsReply("<current_page>1</current_page><total_pages>3</total_pages>", 1, 10,
                  localserver::Faults::kUntilCleared);
    auto page = makePage();
    showInNavigation(page);
    ASSERT_TRUE(waitForRows(page, 10));
    revisitLastRow(page, 5);
    EXPECT_EQ(requestsTo("ui_items.xml"), 2u) << "page 2 was asked for once";
    EXPECT_EQ(page->events, (std::vector<std::string>{"page 1", "before 10", "page 2", "before 10"}));
    EXPECT_EQ(page->names(), itemNames(1, 10));
    EXPECT_FALSE(page->isLoadingData());

    // Without a current page a reply cannot say where it stands: the first
    // one, whose last row shows at once, ends the paging.
    server->faults().clear();
    armItemsReply("<total_pages>3</total_pages>", 1, 3, localserver::Faults::kUntilCleared);
    page->reloadDataFromServer();
    ASSERT_TRUE(waitUntilLoaded(page));
    revisitLastRow(page, 5);
    EXPECT_EQ(requestsTo("ui_items.xml"), 3u);
    EXPECT_EQ(page->names(), itemNames(1, 3));
    EXPECT_FALSE(page->isLoadingData());
}

TEST_F(TablePagesTest, AHeaderOutOfRangeFailsTheLoadAndKeepsWhatIsShown)
{
    auto page = makePage();
    page->autoLoad = false;
    showInNavigation(page);
    for (const char* header : {"<current_page>1</current_page><total_pages>3000000000</total_pages>",
                               // One page on from here would overflow a page number.
                               "<current_page>2147483647</current_page><total_pages>2147483648</total_pages>",
                               "<current_page>-1</current_page><total_pages>3</total_pages>"}) {
        SCOPED_TRACE(header);
        armItemsReply(header, 1, 3);
        page->reloadDataFromServer();
        EXPECT_TRUE(page->isShowingLoadingScreen());
        ASSERT_TRUE(waitUntilLoaded(page));
        EXPECT_FALSE(page->isShowingLoadingScreen());
        EXPECT_FALSE(page->hasLoadedData());
        EXPECT_TRUE(page->names().empty());
        EXPECT_FALSE(Driver::findByText("Tap refresh to load")) << "a load was tried";
        EXPECT_TRUE(Driver::findByText(HCTableControllerHelper::kLoadFailedMessage));
    }
    EXPECT_EQ(requestsTo("ui_items.xml"), 3u);

    // A next page out of range leaves the rows as they were; the player's
    // next visit to the last row asks for it again.
    page->reloadDataFromServer();
    ASSERT_TRUE(waitForRows(page, 10));
    armItemsReply("<current_page>2</current_page><total_pages>-3</total_pages>", 11, 20);
    const size_t asked = requestsTo("ui_items.xml");
    // The drag runs what is due after it, a fast reply included: the load
    // it started is seen in the server's log rather than on the page.
    scrollToBottom(page->tableView());
    ASSERT_TRUE(waitUntilLoaded(page));
    EXPECT_EQ(requestsTo("ui_items.xml"), asked + 1) << "reaching the last row asks for the next page";
    EXPECT_EQ(page->names(), itemNames(1, 10));
    EXPECT_FALSE(Driver::findByText(HCTableControllerHelper::kLoadFailedMessage)) << "the rows are still there";
    revisitLastRow(page, 1);
    EXPECT_EQ(page->names(), itemNames(1, 20));
    EXPECT_EQ(lastPageAsked(), "2");
}

TEST_F(TablePagesTest, PagingReachesTheLargestPageCount)
{
    armItemsReply("<current_page>2147483646</current_page><total_pages>2147483647</total_pages>", 1, 3);
    armItemsReply("<current_page>2147483647</current_page><total_pages>2147483647</total_pages>", 4, 5);
    auto page = makePage();
    showInNavigation(page);
    ASSERT_TRUE(waitForRows(page, 5));
    EXPECT_EQ(lastPageAsked(), "2147483647");
    EXPECT_FALSE(page->hasMorePages());
    revisitLastRow(page, 2);
    EXPECT_EQ(requestsTo("ui_items.xml"), 2u);
    EXPECT_EQ(page->names(), itemNames(1, 5));
}

// A cell as high as its text needs: 20 points a line of its name.
class HCUiNoteCell : public HCTableCellHelper {
public:
    HCUiNoteCell() { ++made; }
    void onResourceChanged(const platform::ObjectPtr& resource) override
    {
        auto item = platform::as<UiItem>(resource);
        const auto lines = item ? std::count(item->name().begin(), item->name().end(), '\n') + 1 : 1;
        setFrame(Rect(0, 0, 320, 20.0 * static_cast<double>(lines)));
    }
    static inline int made = 0;
};

class CountedItemCell : public HCUiItemCell {
public:
    CountedItemCell() { ++made; }
    static inline int made = 0;
};

const bool registeredCounted = [] {
    platform::registerClass<HCUiNoteCell>("HCUiNoteCell");
    platform::registerClass<CountedItemCell>("HCCountedItemCell");
    return true;
}();

class MixedPage : public HandAnsweredPage {
public:
    void populateResourceMap(HCResourceControllerMap& map) override { map.addResourceClass<UiItem>(cellName); }
    std::string cellName = "CountedItem";
};

TEST_F(TablePagesTest, RowsTakeTheirCellsHeightsAndConstantOnesAreNotMadeToBeMeasured)
{
    auto page = std::make_shared<MixedPage>();
    show(HCNavigationController::withRootViewController(page));
    std::vector<std::string> ids;
    for (int i = 1; i <= 40; ++i) ids.push_back(std::to_string(i));
    CountedItemCell::made = 0;
    page->calls[0].success.invoke(seriesOf(ids, 1, 1));
    driver.settle();
    const int visible = static_cast<int>(page->tableView()->visibleCells().size());
    EXPECT_LT(visible, 40);
    EXPECT_LE(CountedItemCell::made, visible + 1) << "one to learn the height, then only the rows in sight";
    EXPECT_EQ(page->tableView()->rectForRowAtIndexPath(IndexPath(0, 39)).size.height, kItemRowHeight);

    // Cells of variable height size their rows after they are filled.
    auto notes = std::make_shared<MixedPage>();
    notes->cellName = "UiNote";
    show(HCNavigationController::withRootViewController(notes));
    auto series = seriesOf({"1", "2"}, 1, 1);
    platform::as<UiItem>(series->objectAtIndex(1))->setName("three\nline\nnote");
    notes->calls[0].success.invoke(series);
    driver.settle();
    EXPECT_EQ(notes->tableView()->rectForRowAtIndexPath(IndexPath(0, 0)).size.height, 20);
    EXPECT_EQ(notes->tableView()->rectForRowAtIndexPath(IndexPath(0, 1)).size.height, 60);
}

// A sectioned reply: sections by identifier, each with its own page.
std::shared_ptr<HCPaginatedSeries> sectioned(
    std::vector<std::pair<std::string, std::vector<std::string>>> sections, uint32_t page, uint32_t pages)
{
    auto series = HCPaginatedSeries::paginatedSeries();
    for (auto& [identifier, ids] : sections) {
        auto section = HCTableSectionDescription::sectionWithTitle(identifier, seriesOf(ids, page, pages));
        section->setIdentifier(identifier);
        series->addObject(section);
    }
    return series;
}

class SectionedPage : public HandAnsweredPage {
public:
    void onResourcesDownloaded(const HCPaginatedSeriesPtr& series) override
    {
        events.push_back("downloaded " + std::to_string(series->count()));
    }
    void onBeforeResourcesProcessed(const HCPaginatedSeriesPtr& series) override
    {
        events.push_back("before");
        // A page may take objects out before rows are made.
        if (auto first = platform::as<HCTableSectionDescription>(series->objectAtIndex(0))) {
            auto objects = first->page()->objects();
            std::erase_if(objects, [](const auto& o) { return platform::as<UiItem>(o)->resourceId() == "13"; });
            auto header = first->page()->header();
            first->page()->setObjects(objects);
            first->page()->setHeader(header);
        }
    }
    void onSectionsCreated(const Sections& sections) override
    {
        events.push_back("sections " + std::to_string(sections.size()));
    }
    bool shouldAlwaysRefreshWhenShown() override { return true; }
    bool shouldAlwaysShowNavBar() override { return true; }
    std::optional<std::string> getTableHeaderViewName() override { return "UiHeaderView"; }
    std::vector<std::string> events;
};

// The dashboard's frame around a page's content.
class Wrapper : public View, public HCContentWrapping {
public:
    using View::View;
    ViewPtr wrappedView() const override { return inner; }
    ViewPtr inner = View::make(Rect(0, 0, 280, 300));
};

class HeaderView : public View, public HCTableControllerHeader {
public:
    using View::View;
    void resizeView(const ViewPtr& pageView) override { setFrame(Rect(0, 0, pageView->bounds().width(), 50)); }
};

TEST_F(TablePagesTest, SectionedRepliesMergeBySectionAndTheHooksComeInOrder)
{
    nibsToDrop.push_back("UiHeaderViewHc");
    NibRegistry::registerNib("UiHeaderViewHc", [](const platform::ObjectPtr&) {
        return std::vector<platform::ObjectPtr>{std::make_shared<HeaderView>(Rect(0, 0, 10, 10))};
    });
    auto page = std::make_shared<SectionedPage>();
    auto navigation = HCNavigationController::withRootViewController(std::make_shared<HCViewController>());
    navigation->setNavigationBarHidden(true, false);
    show(navigation);
    navigation->pushViewController(page, false);
    EXPECT_EQ(page->tableView()->tableHeaderView()->frame(), Rect(0, 0, 320, 50)) << "a view by name, resized";
    ASSERT_EQ(page->calls.size(), 1u);
    EXPECT_FALSE(navigation->isNavigationBarHidden()) << "a page that always shows the bar brings it back";

    page->calls[0].success.invoke(sectioned({{"friends", {"11", "12", "13"}}, {"everyone", {"21"}}}, 1, 2));
    driver.settle();
    EXPECT_EQ(page->events, (std::vector<std::string>{"downloaded 2", "before", "sections 2"}));
    ASSERT_EQ(page->sections().size(), 2u);
    EXPECT_EQ(page->sections()[0]->count(), 2u) << "the page took one out before the rows were made";
    EXPECT_EQ(page->tableView()->numberOfRowsInSection(0), 2);
    EXPECT_EQ(page->titleForHeaderInSection(*page->tableView(), 1), "everyone");

    // The next page goes to the sections of the same identifiers; a new one is added.
    ASSERT_EQ(page->calls.size(), 2u);
    page->calls[1].success.invoke(sectioned({{"everyone", {"21", "22"}}, {"nearby", {"31"}}}, 2, 2));
    driver.settle();
    ASSERT_EQ(page->sections().size(), 3u);
    EXPECT_EQ(page->sections()[1]->count(), 2u);
    EXPECT_EQ(page->sections()[2]->identifier(), "nearby");
    EXPECT_EQ(page->events.back(), "before") << "no new sections were created for a next page";
    EXPECT_FALSE(page->hasMorePages());

    // Shown again, the page asks afresh.
    navigation->pushViewController(std::make_shared<ViewController>(), false);
    navigation->popViewController(false);
    EXPECT_EQ(page->calls.size(), 3u);
    EXPECT_EQ(page->calls[2].page, 1);

    // Inside the dashboard's frame, the header takes the wrapped content's width.
    auto framed = std::make_shared<SectionedPage>();
    auto wrapper = std::make_shared<Wrapper>(Rect(0, 0, 320, 400));
    wrapper->addSubview(framed->view());
    framed->beginAppearanceTransition(true, false);
    framed->endAppearanceTransition();
    EXPECT_EQ(framed->tableView()->tableHeaderView()->frame().width(), 280);
}

class MenuPage : public HCTableStaticControllerHelper {
public:
    Sections buildTableSectionDescriptions() override
    {
        ++builds;
        auto first = TableViewCell::make();
        first->textLabel()->setText("Favorites");
        auto second = TableViewCell::make();
        second->textLabel()->setText("Newsletter");
        auto third = TableViewCell::make();
        third->textLabel()->setText("More Games");
        auto top = HCTableSectionDescription::sectionWithTitleAndStaticCells("Fan Club", {first, second});
        auto bottom = HCTableSectionDescription::sectionWithTitleAndStaticCells(std::nullopt, {third});
        return {top, bottom};
    }
    bool usePlainTableSectionHeaders() override { return true; }
    std::optional<std::string> getLeadingCellControllerNameForSection(int section) override
    {
        if (section == 1) return "UiLeading";
        return std::nullopt;
    }
    void onLeadingCellWasLoaded(const TableViewCellPtr& cell, int section) override
    {
        cell->textLabel()->setText("Leading " + std::to_string(section));
    }
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPath) override
    {
        EXPECT_FALSE(resource);
        clicked.push_back(indexPath);
    }
    void actionPressedForTag(int tag, const IndexPath& indexPath) override { actions.emplace_back(tag, indexPath); }
    int builds = 0;
    std::vector<IndexPath> clicked;
    std::vector<std::pair<int, IndexPath>> actions;
};

TEST_F(TablePagesTest, StaticTableShowsItsCellsWithLeadingCellsAndPlainHeaders)
{
    auto page = std::make_shared<MenuPage>();
    showInNavigation(page);
    EXPECT_EQ(page->builds, 1);
    auto table = page->tableView();
    ASSERT_EQ(table->numberOfSections(), 2);
    EXPECT_EQ(table->numberOfRowsInSection(0), 2);
    EXPECT_EQ(table->numberOfRowsInSection(1), 2) << "leading cell + one static cell";
    EXPECT_TRUE(page->sections()[0]->isRowLastObject(1));
    EXPECT_FALSE(page->sections()[0]->isRowLastObject(0));
    EXPECT_TRUE(Driver::findByText("Fan Club")) << "the plain header shows the title";
    EXPECT_FALSE(table->rectForHeaderInSection(1).size.height > 0) << "untitled: no plain header";
    EXPECT_EQ(table->rectForRowAtIndexPath(IndexPath(1, 0)).size.height, 30) << "the leading cell keeps its height";
    EXPECT_FALSE(Driver::findByText("No data found."));

    ASSERT_TRUE(driver.selectRowWithText("Newsletter"));
    ASSERT_TRUE(driver.selectRowWithText("More Games"));
    EXPECT_EQ(page->clicked, (std::vector<IndexPath>{IndexPath(0, 1), IndexPath(1, 1)}));

    // A button of an action cell tells the page which row it is on.
    auto leading = std::dynamic_pointer_cast<HCTableCellHelperActionCell>(page->leadingCellForSection(1));
    ASSERT_TRUE(leading);
    auto accept = Button::buttonWithType(ButtonType::RoundedRect);
    accept->setTag(4);
    leading->contentView()->addSubview(accept);
    leading->buttonPressed(*accept);
    EXPECT_EQ(page->actions, (std::vector<std::pair<int, IndexPath>>{{4, IndexPath(1, 0)}}));

    page->reloadDataFromServer();
    EXPECT_EQ(page->builds, 2);
    EXPECT_FALSE(page->isShowingLoadingScreen());
}

}  // namespace

#pragma once
// The base of every table page. A page says where its rows come from and
// how they look by overriding hooks; the base loads, lays out, reacts and
// keeps the state.
//
// Rows. The table shows sections (HCTableSectionDescription): a section of
// static cells shows those cells; a section with a page shows one cell per
// resource, the cell named for the resource's class in the page's
// HCResourceControllerMap (populateResourceMap), loaded through the
// controller loader and filled with setResource, then onCell. A section may
// start with a leading cell (getLeadingCellControllerNameForSection, then
// onLeadingCellWasLoaded) and end with a trailing one
// (getTrailingCellControllerNameForSection; a tap on it goes to
// onTrailingCellWasClickedForSection). A cell keeps its height unless it is
// of variable height, which it sets itself when filled.
//
// Loading. _refreshData shows the loading screen and runs the index action
// (doIndexActionOnSuccess, by default page 1 of doIndexActionWithPage, by
// default the service's index). The reply goes through _onDataLoadedWrapper:
// the loading screen goes, onResourcesDownloaded, onBeforeResourcesProcessed
// (which may take objects out), then _onDataLoaded, which turns a flat reply
// into one section (or takes the sections of a sectioned reply), calls
// onSectionsCreated and shows them; an incremental load merges into the
// sections on screen instead. A failure hides the loading screen and keeps
// what is shown; so does a reply whose pagination header is out of range
// (HCPaginatedSeriesHeader::isWithinRange), which counts as failed. Only the
// latest load counts: a reply to an earlier one (a refresh overtook it)
// changes nothing. A load whose callbacks are let go unused (the provider
// dropped the request) ends like a failed one, so no loading screen is left
// up. A page left with no rows by a failed load says so
// (getLoadFailedMessage) until a load succeeds; a page about to list
// something else takes the old rows down first (clearRows). The page loads
// on its first appearance unless autoLoadData says NO, and on every later
// one when shouldAlwaysRefreshWhenShown says YES.
//
// Empty and not loaded. With no rows after a load and shouldDisplayEmptyDataSet,
// the no-data controller's view (getNoDataFoundViewController) takes the
// table's place, or the no-data message shows below the table's header.
// Before the first load of a page that does not load by itself, the
// not-loaded-yet message shows there. Each such message is the table's
// footer while it shows (onTableFooterCreated may take it down); a footer
// the page put up of its own gives way to it and comes back once it goes.
//
// Header resource. A page whose header shows one of its own resources
// (usesHeaderResource) has it as the first object of the section at
// getHeaderResourceSectionIndex: it shows in the header only, so that
// section's rows start at its second object and a list of nothing else
// counts as empty.
//
// Expansion. A page that names an action cell (actionCellClassName) lets a
// resource row expand (toggleExpansionAtIndexPath): the action cell, filled
// with the row's resource, shows as a row of its own right below it. A tap
// on an action row selects nothing; its buttons speak through
// actionPressedForTag, and getResourceAtIndexPath of that row answers the
// resource it acts on. Expansions follow their resource when rows move, and
// a full reload ends them.
//
// Editing. With allowEditing, the navigation item's right button is the
// Edit/Done switch and resource rows can be deleted (swiped, or in editing
// mode). With shouldConfirmResourceDeletion, an action sheet asks first
// (prompt, confirm and cancel texts are hooks). The base takes the row out
// and then calls onResourceWasDeleted, where the page tells the service.
//
// Refresh after a notification. While the page is shown it observes
// getNotificationToRefreshAfter (when shouldRefreshAfterNotification says
// YES); the resources a notification carries (the poller's list under
// HCPollerNotificationKeyResources) that isNotificationResourceValid accepts
// go through onResourcesDownloaded and onBeforeResourcesProcessed and join
// the first section of resources, none twice: below its rows with the last
// row scrolled into sight when isNewContentShownAtBottom, else above them.
//
// Callbacks reach the page only while it is on a navigation stack
// (HCViewController), so a reply for a popped page changes nothing. A page
// popped while it loads drops that load and its loading screen; shown
// again, it loads anew when it has nothing loaded yet.
//
// Thread: main thread.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/replies/HCPaginatedSeries.h"
#include "core/replies/HCTableSectionDescription.h"
#include "kernel/callbacks/HCDelegate.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "uiframework/HCViewController.h"
#include "uiframework/table/HCResourceControllerMap.h"

class HCService;

class HCTableControllerHelper : public HCViewController,
                                public platform::ui::TableViewDataSource,
                                public platform::ui::TableViewDelegate {
public:
    using Sections = std::vector<std::shared_ptr<HCTableSectionDescription>>;
    using IndexPath = platform::ui::IndexPath;

    explicit HCTableControllerHelper(std::string nibName = {});
    // initWithStyle: the table the page makes has this style (a nib's table keeps its own).
    explicit HCTableControllerHelper(platform::ui::TableViewStyle style, std::string nibName = {});
    ~HCTableControllerHelper() override;

    // --- the table ------------------------------------------------------------
    // The page's table (loads the view).
    const platform::ui::TableViewPtr& tableView();
    const Sections& sections() const { return sections_; }
    // Whether a load has ended with data since the page was made.
    bool hasLoadedData() const { return loaded_; }
    // Whether a load (first or next page) is waiting for its reply.
    bool isLoadingData() const { return pendingLoads_ > 0; }

    // --- operations -----------------------------------------------------------
    // Runs the index action again (the loading screen shows meanwhile).
    void reloadDataFromServer();
    virtual void _refreshData();
    virtual void _onDataLoadedWrapper(const HCPaginatedSeriesPtr& series, bool isIncremental);
    virtual void _onDataLoaded(const HCPaginatedSeriesPtr& series, bool isIncremental);
    // The first row whose resource is this one or has its id; nullopt when none.
    std::optional<IndexPath> getFirstIndexPathForResource(const platform::ObjectPtr& resource) const;
    // The resource of a row; nil for leading and static rows.
    platform::ObjectPtr getResourceAtIndexPath(const IndexPath& indexPath) const;
    // The leading cell of a section; nil when it has none.
    platform::ui::TableViewCellPtr leadingCellForSection(int section) const;
    // The page's map of resource class to cell, filled by populateResourceMap
    // at the first ask; a page may change it later (the cells made from then on follow).
    HCResourceControllerMap& resourceMap();
    // Sent by a cell's action button (HCTableCellHelperActionCell).
    virtual void actionPressedForTag(int tag, const IndexPath& indexPath);
    // Opens or closes the action row below a resource row; nothing for other rows.
    void toggleExpansionAtIndexPath(const IndexPath& indexPath);
    bool isExpandedAtIndexPath(const IndexPath& indexPath) const;
    // Whether the row is the action row of an expanded one.
    bool isActionRowAtIndexPath(const IndexPath& indexPath) const;
    // The delegates of the latest load, as _refreshData hands them to the
    // index action: a page that runs requests of its own ends the load
    // through them. Empty once nothing holds that load's delegates any more
    // (it was answered or dropped) and before the first load.
    HCDelegate getOnSuccessDelegate();
    HCDelegate getOnFailureDelegate();
    // Puts a new, empty map in place of the page's resource map and fills it
    // again with populateResourceMap (a page whose rows look different in
    // another mode).
    void replaceResourceMap();
    // The trailing cell of a section; nil when it has none.
    platform::ui::TableViewCellPtr trailingCellForSection(int section) const;
    // The header controller (or view) made from the hooks; nil before the
    // page first appears or when it has none.
    const platform::ObjectPtr& tableHeader() const { return tableHeader_; }
    // Sizes the header again and shows it at its new height (a header whose
    // content changed after a load).
    void rebuildTableHeader();

    // --- hooks ------------------------------------------------------------------
    virtual std::shared_ptr<HCService> getService();
    virtual void doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // `page` counts from 1.
    virtual void doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure);
    virtual void populateResourceMap(HCResourceControllerMap& map);
    // A controller (or else a view) loaded by name as the table's header; nil for none.
    virtual std::optional<std::string> getTableHeaderControllerName();
    virtual std::optional<std::string> getTableHeaderViewName();
    // The header controller (or view), after it was made and before resizeView.
    virtual void onTableHeaderCreated(const platform::ObjectPtr& header);
    // A page whose header shows one of its own resources: after each full
    // load (and onSectionsCreated) the first resource of the section at
    // getHeaderResourceSectionIndex goes to onHeaderResourceDownloaded (nil
    // when that section is missing or empty) and leaves the rows, then the
    // header is laid out again through onTableHeaderCreated.
    virtual bool usesHeaderResource() { return false; }
    virtual size_t getHeaderResourceSectionIndex() { return 0; }
    virtual void onHeaderResourceDownloaded(const platform::ObjectPtr& resource);
    // The footer the base just made and put up below the rows (the message
    // of an empty, failed or not yet loaded list); a page may change it or
    // take it down (setTableFooterView(nil)).
    virtual void onTableFooterCreated(const platform::ui::ViewPtr& footer);
    virtual std::string getNoDataFoundMessage();
    virtual std::string getDataNotLoadedYetMessage();
    // Shown in place of the rows when a full load failed and nothing is shown.
    virtual std::string getLoadFailedMessage();
    static constexpr const char* kLoadFailedMessage = "The list could not be loaded. Please try again later.";
    virtual platform::ui::ViewControllerPtr getNoDataFoundViewController();
    virtual bool shouldDisplayEmptyDataSet();
    virtual bool autoLoadData();
    virtual bool allowPagination();
    virtual bool usePlainTableSectionHeaders();
    // The plain header view of a section: by default its title in a bar; nil without a title.
    virtual platform::ui::ViewPtr createPlainTableSectionHeader(int section);
    // The cell loaded by name as the action row of an expanded row; nil: rows do not expand.
    virtual std::optional<std::string> actionCellClassName();
    virtual bool shouldConfirmResourceDeletion();
    virtual std::string getResourceDeleteConfirmText();
    virtual std::string getResourceDeleteCancelText();
    virtual std::string getResourceDeletePromptText(const platform::ObjectPtr& resource);
    virtual void onResourceWasDeleted(const platform::ObjectPtr& resource);
    virtual bool allowEditing();
    virtual bool shouldAlwaysRefreshWhenShown();
    virtual bool shouldAlwaysShowNavBar();
    // A tap on a row; `resource` is nil for leading and static rows.
    virtual void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable);
    virtual std::optional<std::string> getLeadingCellControllerNameForSection(int section);
    virtual void onLeadingCellWasLoaded(const platform::ui::TableViewCellPtr& cell, int section);
    // A tap on the leading cell of a section; by default a tap on a row with no resource.
    virtual void onLeadingCellWasClickedForSection(int section);
    // Gives a cell the look of its place each time the table asks for it:
    // the dashboard's background, fainter on odd rows (counted in the
    // section, the leading cell first). A cell that wants to configure
    // itself is left alone.
    virtual void configureCell(const platform::ui::TableViewCellPtr& cell, bool asLeading, bool asTrailing,
                               bool asOdd);
    // A cell loaded by name below the rows of a section; nil for none.
    virtual std::optional<std::string> getTrailingCellControllerNameForSection(int section);
    virtual void onTrailingCellWasClickedForSection(int section);
    virtual void onResourcesDownloaded(const HCPaginatedSeriesPtr& series);
    virtual void onBeforeResourcesProcessed(const HCPaginatedSeriesPtr& series);
    virtual void onSectionsCreated(const Sections& sections);
    virtual std::optional<std::string> getNotificationToRefreshAfter();
    virtual bool shouldRefreshAfterNotification();
    virtual bool isNewContentShownAtBottom();
    virtual bool isNotificationResourceValid(const platform::ObjectPtr& resource);
    // After a resource cell was filled (onCell:resourceChanged:).
    virtual void onCell(const platform::ui::TableViewCellPtr& cell, const platform::ObjectPtr& resource);

    // --- controller -------------------------------------------------------------
    void loadView() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;
    std::string kindName() const override { return "HCTableControllerHelper"; }
    // Merges what a refresh notification carries (see above).
    void _onRefreshNotification(const platform::Notification& notification);

    // --- data source and delegate -------------------------------------------------
    int numberOfSections(platform::ui::TableView& tableView) override;
    int numberOfRowsInSection(platform::ui::TableView& tableView, int section) override;
    platform::ui::TableViewCellPtr cellForRowAtIndexPath(platform::ui::TableView& tableView,
                                                         const IndexPath& indexPath) override;
    std::optional<std::string> titleForHeaderInSection(platform::ui::TableView& tableView, int section) override;
    std::optional<bool> canEditRowAtIndexPath(platform::ui::TableView& tableView, const IndexPath& indexPath) override;
    void commitEditingStyle(platform::ui::TableView& tableView, platform::ui::TableViewCellEditingStyle style,
                            const IndexPath& indexPath) override;
    std::optional<double> heightForRowAtIndexPath(platform::ui::TableView& tableView,
                                                  const IndexPath& indexPath) override;
    platform::ui::ViewPtr viewForHeaderInSection(platform::ui::TableView& tableView, int section) override;
    std::optional<double> heightForHeaderInSection(platform::ui::TableView& tableView, int section) override;
    void didSelectRowAtIndexPath(platform::ui::TableView& tableView, const IndexPath& indexPath) override;
    std::optional<platform::ui::TableViewCellEditingStyle> editingStyleForRowAtIndexPath(
        platform::ui::TableView& tableView, const IndexPath& indexPath) override;

protected:
    // Made once, when the page first comes on screen: the header named by
    // getTableHeaderControllerName (or getTableHeaderViewName) becomes the
    // table's header. A page that adds a footer of its own does it here,
    // after the base.
    virtual void _createAndDisplayTableHeader();
    // Puts the Edit/Done switch up when the page allows editing (nothing otherwise).
    void updateEditButton();
    // The page's view, or the content it wraps in the dashboard's frame: what
    // a header or footer takes its width from.
    platform::ui::ViewPtr pageContentView();
    // Loads page `page` (from 2) with this page's delegates, without the
    // loading screen; the reply is merged into the rows shown. A refresh
    // started meanwhile makes its reply count for nothing. A page not past
    // the one the last taken reply was asked for is not asked: a reply that
    // does not move on (no current page, or a server that ignores the page
    // asked) would otherwise be asked for again at every reload of the rows.
    void loadNextPage(int page);
    // Takes every row down and forgets the list, as before the first load:
    // for a page whose next load lists something else (another tab), so
    // that a load which then fails shows its failure, not the other list.
    void clearRows();

private:
    class DeletionConfirmation;
    struct Row {
        std::shared_ptr<HCTableSectionDescription> section;
        bool leading = false;
        bool trailing = false;
        bool action = false;  // the action row below the resource at `index`
        size_t index = 0;  // in the section's own rows
    };

    // Reply ends, with the load they answer (an HCLoadTicket).
    void _onIndexLoaded(std::shared_ptr<HCPaginatedSeries> series, std::shared_ptr<platform::Object> ticket);
    void _onIndexFailed(std::shared_ptr<platform::Object> failure, std::shared_ptr<platform::Object> ticket);
    // A load's callbacks went unused.
    void _onIndexDropped(unsigned generation, bool incremental);
    // A ticket of the current generation that reports its drop to the page.
    std::shared_ptr<platform::Object> makeTicket(int page, bool incremental);

    std::optional<Row> rowAt(const IndexPath& indexPath) const;
    // The leading, trailing or static cell a row shows (which may be nil);
    // nothing for a row of a resource, whose cell is made for it.
    std::optional<platform::ui::TableViewCellPtr> fixedCellFor(const Row& row, int section);
    size_t objectRowCount() const;
    // The objects of a section that show as no row: its header resource.
    size_t hiddenObjects(const HCTableSectionDescription& section) const;
    bool isExpanded(const platform::ObjectPtr& resource) const;
    // The rows a section's resources take, action rows included.
    size_t resourceRowsInSection(const HCTableSectionDescription& section) const;
    platform::ui::TableViewCellPtr actionCellFor(const platform::ObjectPtr& resource);
    platform::ui::TableViewCellPtr cellForResource(const platform::ObjectPtr& resource);
    // The height of the named cell when it is constant, else nullopt.
    std::optional<double> constantHeightFor(const std::string& cellName);
    // The leading and trailing cells of the sections from `fromSection` on.
    void loadEdgeCells(size_t fromSection);
    // Drops the cells made for the sections shown (they are replaced whole).
    void forgetCells();
    void handOverHeaderResource();
    void updateEmptyState();
    void setFooterMessage(const std::string& text);
    void showNoDataController(bool show);
    void deleteResource(const platform::ObjectPtr& resource);

    platform::ui::TableViewPtr tableView_;
    platform::ui::TableViewStyle tableStyle_ = platform::ui::TableViewStyle::Plain;
    std::optional<std::string> observedNotification_;
    Sections sections_;
    std::map<int, platform::ui::TableViewCellPtr> leadingCells_;
    std::map<int, platform::ui::TableViewCellPtr> trailingCells_;
    std::map<int, platform::ui::ViewPtr> headerViews_;
    std::map<const platform::Object*, platform::ui::TableViewCellPtr> resourceCells_;
    // The expanded resources and their action cells.
    std::map<const platform::Object*, platform::ui::TableViewCellPtr> actionCells_;
    std::map<std::string, std::optional<double>> constantHeights_;
    HCResourceControllerMap resourceMap_;
    bool resourceMapPopulated_ = false;
    platform::ObjectPtr tableHeader_;
    bool tableHeaderCreated_ = false;
    std::shared_ptr<platform::ui::Label> footerMessage_;
    // The footer the page had up when a message took its place.
    platform::ui::ViewPtr pageFooter_;
    // The section whose first object is the header resource; nil when none.
    std::shared_ptr<HCTableSectionDescription> headerResourceSection_;
    platform::ui::ViewControllerPtr noDataController_;
    std::shared_ptr<DeletionConfirmation> deletionConfirmation_;
    bool loaded_ = false;
    // The latest full load failed (or was dropped); a successful one clears it.
    bool loadFailed_ = false;
    bool appearedOnce_ = false;
    unsigned loadGeneration_ = 0;
    // Held weakly: only the load's own callbacks keep it.
    std::weak_ptr<platform::Object> latestTicket_;
    int pendingLoads_ = 0;
    // The page the last taken reply was asked for (a refresh asks for page 1).
    int answeredPage_ = 0;
};

#include "uiframework/table/HCTableControllerHelper.h"

#include <algorithm>
#include <functional>
#include <set>

#include "core/resources/HCMissingOverride.h"
#include "core/resources/HCResource.h"
#include "core/services/HCService.h"
#include "kernel/resources/HCResourceClassName.h"
#include "platform/foundation/Values.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TextMetrics.h"
#include "transport/poller/HCPoller.h"
#include "uiframework/HCContentWrapping.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCRequestTicket.h"
#include "uiframework/table/HCSectionHeaderView.h"
#include "uiframework/table/HCTableCellBackgroundView.h"
#include "uiframework/table/HCTableCellHelper.h"
#include "uiframework/table/HCTableControllerHeader.h"

namespace {

constexpr const char* kSource = "HCTableControllerHelper";
constexpr double kMessageMargin = 20;
constexpr double kOddRowAlpha = 0.85;

// Which load a reply answers, the page it asked for, and whether it adds to
// what is shown.
class LoadTicket final : public HCRequestTicket {
public:
    LoadTicket(unsigned generation, int page, bool incremental, std::function<void(unsigned)> dropped = {})
        : HCRequestTicket(generation, std::move(dropped)), page(page), incremental(incremental)
    {
    }
    const int page;
    const bool incremental;
};

// Whether every pagination header of a reply (its own, its sections' pages')
// holds numbers a page can count with.
bool headersWithinRange(const HCPaginatedSeries& series)
{
    if (series.header() && !series.header()->isWithinRange()) return false;
    for (const auto& object : series.objects()) {
        auto section = platform::as<HCTableSectionDescription>(object);
        if (section && section->page() && !headersWithinRange(*section->page())) return false;
    }
    return true;
}

std::optional<std::string> idOf(const platform::ObjectPtr& object)
{
    auto resource = platform::as<HCResource>(object);
    if (!resource || !resource->resourceId() || resource->resourceId()->empty()) return std::nullopt;
    return resource->resourceId();
}

bool sameResource(const platform::ObjectPtr& a, const platform::ObjectPtr& b)
{
    if (a == b) return true;
    auto idA = idOf(a);
    auto idB = idOf(b);
    return idA && idB && *idA == *idB && typeid(*a) == typeid(*b);
}

// Appends the objects of `loaded` that `shown` does not hold yet (by id;
// objects without an id are always new), keeping the order of both, and
// takes the loaded page's header.
void appendUnique(HCTableSectionDescription& shown, const HCTableSectionDescription& loaded)
{
    if (!loaded.page()) return;
    if (!shown.page()) {
        shown.setPage(loaded.page());
        return;
    }
    std::set<std::string> ids;
    for (const auto& object : shown.page()->objects()) {
        if (auto id = idOf(object)) ids.insert(*id);
    }
    auto objects = shown.page()->objects();
    for (const auto& object : loaded.page()->objects()) {
        auto id = idOf(object);
        if (id && !ids.insert(*id).second) continue;
        if (!id && std::find(objects.begin(), objects.end(), object) != objects.end()) continue;
        objects.push_back(object);
    }
    shown.page()->setObjects(std::move(objects));
    shown.page()->setHeader(loaded.page()->header());
}

// The sections a reply stands for: its own sections, or one untitled
// section holding the whole flat reply.
HCTableControllerHelper::Sections sectionsOf(const HCPaginatedSeriesPtr& series)
{
    HCTableControllerHelper::Sections sections;
    if (!series) return sections;
    bool sectioned = false;
    for (const auto& object : series->objects()) {
        if (auto section = platform::as<HCTableSectionDescription>(object)) {
            sections.push_back(section);
            sectioned = true;
        }
    }
    if (!sectioned) sections.push_back(std::make_shared<HCTableSectionDescription>(series));
    return sections;
}

}  // namespace

// Asks before a resource row goes; held by the page while the sheet shows.
class HCTableControllerHelper::DeletionConfirmation final : public platform::ui::ActionSheetDelegate {
public:
    DeletionConfirmation(std::weak_ptr<HCTableControllerHelper> page, platform::ObjectPtr resource)
        : page_(std::move(page)), resource_(std::move(resource))
    {
    }
    void actionSheetClickedButtonAtIndex(platform::ui::ActionSheet& sheet, int buttonIndex) override
    {
        auto page = page_.lock();
        if (!page) return;
        auto keepAlive = page->deletionConfirmation_;
        page->deletionConfirmation_ = nullptr;
        if (buttonIndex == sheet.destructiveButtonIndex()) page->deleteResource(resource_);
    }

private:
    std::weak_ptr<HCTableControllerHelper> page_;
    platform::ObjectPtr resource_;
};

HCTableControllerHelper::HCTableControllerHelper(std::string nibName) : HCViewController(std::move(nibName)) {}

HCTableControllerHelper::HCTableControllerHelper(platform::ui::TableViewStyle style, std::string nibName)
    : HCViewController(std::move(nibName)), tableStyle_(style)
{
}

HCTableControllerHelper::~HCTableControllerHelper()
{
    if (observedNotification_) platform::NotificationCenter::defaultCenter().removeObserver(this);
}

// --- the table ---------------------------------------------------------------

const platform::ui::TableViewPtr& HCTableControllerHelper::tableView()
{
    HC_CHECK_MAIN_THREAD();
    view();
    return tableView_;
}

void HCTableControllerHelper::loadView()
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::loadView();
    auto container = view();
    // A nib may bring the table; otherwise it fills the page.
    for (const auto& subview : container->subviews()) {
        if (auto table = std::dynamic_pointer_cast<platform::ui::TableView>(subview)) {
            tableView_ = table;
            break;
        }
    }
    if (!tableView_) {
        tableView_ = platform::ui::TableView::make(container->bounds(), tableStyle_);
        tableView_->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth |
                                        platform::ui::AutoresizingFlexibleHeight);
        container->addSubview(tableView_);
    }
    auto self = platform::self(this);
    tableView_->setDataSource(std::static_pointer_cast<platform::ui::TableViewDataSource>(self));
    tableView_->setDelegate(std::static_pointer_cast<platform::ui::TableViewDelegate>(self));
    updateEditButton();
    updateEmptyState();
}

void HCTableControllerHelper::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewWillAppear(animated);
    if (shouldAlwaysShowNavBar()) {
        if (auto navigation = navigationController()) navigation->setNavigationBarHidden(false, animated);
    }
    if (!tableHeaderCreated_) {
        tableHeaderCreated_ = true;
        _createAndDisplayTableHeader();
    }
    if (observedNotification_ || !shouldRefreshAfterNotification()) return;
    observedNotification_ = getNotificationToRefreshAfter();
    if (!observedNotification_) return;
    std::weak_ptr<HCTableControllerHelper> weakSelf = platform::self(this);
    platform::NotificationCenter::defaultCenter().addObserver(
        this, *observedNotification_, [weakSelf](const platform::Notification& notification) {
            if (auto page = weakSelf.lock()) page->_onRefreshNotification(notification);
        });
}

void HCTableControllerHelper::viewDidAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewDidAppear(animated);
    const bool first = !appearedOnce_;
    appearedOnce_ = true;
    if ((first && autoLoadData()) || (!first && shouldAlwaysRefreshWhenShown())) _refreshData();
}

void HCTableControllerHelper::viewDidDisappear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewDidDisappear(animated);
    if (observedNotification_) {
        platform::NotificationCenter::defaultCenter().removeObserver(this, *observedNotification_);
        observedNotification_.reset();
    }
    if (pendingLoads_ == 0 || canReceiveCallbacksNow()) return;
    // Its reply will not be heard: nothing may wait for it.
    ++loadGeneration_;
    pendingLoads_ = 0;
    hideLoadingScreen();
    if (!loaded_) appearedOnce_ = false;
}

platform::ui::ViewPtr HCTableControllerHelper::pageContentView()
{
    auto pageView = view();
    if (auto wrapper = std::dynamic_pointer_cast<HCContentWrapping>(pageView->superview())) {
        if (auto wrapped = wrapper->wrappedView()) return wrapped;
    }
    return pageView;
}

void HCTableControllerHelper::_createAndDisplayTableHeader()
{
    auto self = platform::self(this);
    platform::ui::ViewPtr headerView;
    if (auto name = getTableHeaderControllerName()) {
        if (auto controller = HCControllerLoader::load(*name, self)) {
            // Before the view loads: the header's set-up may read its page.
            if (auto owned = std::dynamic_pointer_cast<HCTableControllerHeader>(controller)) owned->setTablePage(self);
            tableHeader_ = controller;
            headerView = controller->view();
        }
    } else if (auto viewName = getTableHeaderViewName()) {
        headerView = HCControllerLoader::loadView(*viewName, self);
        tableHeader_ = headerView;
    }
    if (!tableHeader_) return;
    onTableHeaderCreated(tableHeader_);
    rebuildTableHeader();
}

void HCTableControllerHelper::rebuildTableHeader()
{
    HC_CHECK_MAIN_THREAD();
    if (!tableHeader_) return;
    auto headerView = std::dynamic_pointer_cast<platform::ui::View>(tableHeader_);
    if (auto controller = std::dynamic_pointer_cast<platform::ui::ViewController>(tableHeader_))
        headerView = controller->view();
    if (auto adapting = std::dynamic_pointer_cast<HCTableControllerHeader>(tableHeader_)) {
        adapting->resizeView(pageContentView());
    }
    // Set after resizing, so the table lays its rows out below the final height.
    tableView()->setTableHeaderView(headerView);
}

// --- loading ---------------------------------------------------------------------

void HCTableControllerHelper::reloadDataFromServer()
{
    HC_CHECK_MAIN_THREAD();
    _refreshData();
}

void HCTableControllerHelper::_refreshData()
{
    HC_CHECK_MAIN_THREAD();
    showLoadingScreen();
    ++loadGeneration_;
    pendingLoads_ = 1;
    auto ticket = makeTicket(1, false);
    latestTicket_ = ticket;
    doIndexActionOnSuccess(getOnSuccessDelegate(), getOnFailureDelegate());
}

std::shared_ptr<platform::Object> HCTableControllerHelper::makeTicket(int page, bool incremental)
{
    std::weak_ptr<HCTableControllerHelper> weakSelf = platform::self(this);
    return std::make_shared<LoadTicket>(loadGeneration_, page, incremental,
                                        [weakSelf, incremental](unsigned generation) {
                                            if (auto page = weakSelf.lock()) page->_onIndexDropped(generation, incremental);
                                        });
}

HCDelegate HCTableControllerHelper::getOnSuccessDelegate()
{
    HC_CHECK_MAIN_THREAD();
    auto ticket = latestTicket_.lock();
    return ticket ? HCDelegate(platform::self(this), &HCTableControllerHelper::_onIndexLoaded, ticket) : HCDelegate();
}

HCDelegate HCTableControllerHelper::getOnFailureDelegate()
{
    HC_CHECK_MAIN_THREAD();
    auto ticket = latestTicket_.lock();
    return ticket ? HCDelegate(platform::self(this), &HCTableControllerHelper::_onIndexFailed, ticket) : HCDelegate();
}

void HCTableControllerHelper::loadNextPage(int page)
{
    HC_CHECK_MAIN_THREAD();
    if (page <= answeredPage_) return;
    ++pendingLoads_;
    auto self = platform::self(this);
    auto ticket = makeTicket(page, true);
    doIndexActionWithPage(page, HCDelegate(self, &HCTableControllerHelper::_onIndexLoaded, ticket),
                          HCDelegate(self, &HCTableControllerHelper::_onIndexFailed, ticket));
}

void HCTableControllerHelper::_onIndexLoaded(std::shared_ptr<HCPaginatedSeries> series,
                                             std::shared_ptr<platform::Object> ticketObject)
{
    HC_CHECK_MAIN_THREAD();
    auto ticket = platform::as<LoadTicket>(ticketObject);
    if (!ticket || ticket->generation != loadGeneration_ || ticket->isAnswered()) return;
    if (series && !headersWithinRange(*series)) {
        _onIndexFailed(nullptr, ticketObject);
        return;
    }
    ticket->answer();
    pendingLoads_ = std::max(0, pendingLoads_ - 1);
    // Set before the rows show: showing the last row may ask for the next page.
    answeredPage_ = ticket->page;
    _onDataLoadedWrapper(series ? series : HCPaginatedSeries::paginatedSeries(), ticket->incremental);
}

void HCTableControllerHelper::_onIndexFailed(std::shared_ptr<platform::Object>,
                                             std::shared_ptr<platform::Object> ticketObject)
{
    HC_CHECK_MAIN_THREAD();
    auto ticket = platform::as<LoadTicket>(ticketObject);
    if (!ticket || ticket->generation != loadGeneration_ || !ticket->answer()) return;
    pendingLoads_ = std::max(0, pendingLoads_ - 1);
    hideLoadingScreen();
    if (!ticket->incremental) {
        loadFailed_ = true;
        updateEmptyState();
    }
}

void HCTableControllerHelper::_onIndexDropped(unsigned generation, bool incremental)
{
    HC_CHECK_MAIN_THREAD();
    if (generation != loadGeneration_ || pendingLoads_ == 0) return;
    pendingLoads_ = std::max(0, pendingLoads_ - 1);
    if (pendingLoads_ == 0) hideLoadingScreen();
    if (!incremental) {
        loadFailed_ = true;
        updateEmptyState();
    }
}

void HCTableControllerHelper::_onDataLoadedWrapper(const HCPaginatedSeriesPtr& series, bool isIncremental)
{
    HC_CHECK_MAIN_THREAD();
    hideLoadingScreen();
    onResourcesDownloaded(series);
    onBeforeResourcesProcessed(series);
    _onDataLoaded(series, isIncremental);
}

void HCTableControllerHelper::_onDataLoaded(const HCPaginatedSeriesPtr& series, bool isIncremental)
{
    HC_CHECK_MAIN_THREAD();
    auto loadedSections = sectionsOf(series);
    if (!isIncremental || sections_.empty()) {
        sections_ = std::move(loadedSections);
        forgetCells();
        onSectionsCreated(sections_);
        handOverHeaderResource();
        loadEdgeCells(0);
    } else {
        const size_t before = sections_.size();
        for (const auto& loaded : loadedSections) {
            std::shared_ptr<HCTableSectionDescription> target;
            for (const auto& shown : sections_) {
                if (shown->hasStaticCells()) continue;
                if (loaded->identifier() ? shown->identifier() == loaded->identifier() : !shown->identifier())
                    target = shown;
            }
            if (target) {
                appendUnique(*target, *loaded);
            } else {
                sections_.push_back(loaded);
            }
        }
        loadEdgeCells(before);
    }
    loaded_ = true;
    if (!isIncremental) loadFailed_ = false;
    tableView()->reloadData();
    updateEmptyState();
}

void HCTableControllerHelper::forgetCells()
{
    resourceCells_.clear();
    actionCells_.clear();
    leadingCells_.clear();
    trailingCells_.clear();
    headerViews_.clear();
}

void HCTableControllerHelper::clearRows()
{
    HC_CHECK_MAIN_THREAD();
    sections_.clear();
    forgetCells();
    headerResourceSection_ = nullptr;
    loaded_ = false;
    loadFailed_ = false;
    if (!tableView_) return;
    tableView_->reloadData();
    updateEmptyState();
}

void HCTableControllerHelper::handOverHeaderResource()
{
    headerResourceSection_ = nullptr;
    if (!usesHeaderResource()) return;
    const size_t index = getHeaderResourceSectionIndex();
    platform::ObjectPtr resource;
    if (index < sections_.size() && sections_[index]->page() && !sections_[index]->page()->objects().empty()) {
        headerResourceSection_ = sections_[index];
        resource = sections_[index]->page()->objects().front();
    }
    onHeaderResourceDownloaded(resource);
    // Built before the first load, the header has only now what it shows.
    if (!tableHeader_) return;
    onTableHeaderCreated(tableHeader_);
    rebuildTableHeader();
}

void HCTableControllerHelper::_onRefreshNotification(const platform::Notification& notification)
{
    HC_CHECK_MAIN_THREAD();
    auto list = notification.userInfo ? notification.userInfo->get<platform::Array>(HCPollerNotificationKeyResources)
                                      : nullptr;
    if (!list) return;
    HCPaginatedSeries::Objects fresh;
    for (const auto& object : list->items()) {
        if (object && isNotificationResourceValid(object)) fresh.push_back(object);
    }
    if (fresh.empty()) return;
    auto series = HCPaginatedSeries::paginatedSeriesFromArray(fresh);
    onResourcesDownloaded(series);
    onBeforeResourcesProcessed(series);
    if (series->objects().empty()) return;
    std::shared_ptr<HCTableSectionDescription> target;
    for (const auto& shown : sections_) {
        if (!shown->hasStaticCells()) {
            target = shown;
            break;
        }
    }
    const bool atBottom = isNewContentShownAtBottom();
    if (!target) {
        target = std::make_shared<HCTableSectionDescription>(HCPaginatedSeries::paginatedSeries());
        sections_.push_back(target);
        loadEdgeCells(sections_.size() - 1);
    }
    HCTableSectionDescription incoming(std::nullopt, series);
    if (atBottom || !target->page() || target->page()->objects().empty()) {
        auto header = target->page() ? target->page()->header() : nullptr;
        appendUnique(*target, incoming);
        target->page()->setHeader(header);
    } else {
        // New rows go above the shown ones: the shown ones are appended to them.
        auto merged = std::make_shared<HCTableSectionDescription>(series);
        appendUnique(*merged, *target);
        target->page()->setObjects(merged->page()->objects());
    }
    loaded_ = true;
    tableView()->reloadData();
    updateEmptyState();
    if (!atBottom) return;
    const int section = static_cast<int>(std::find(sections_.begin(), sections_.end(), target) - sections_.begin());
    const int rows = numberOfRowsInSection(*tableView(), section);
    if (rows > 0) {
        tableView()->scrollToRowAtIndexPath(IndexPath{section, rows - 1}, platform::ui::TableViewScrollPosition::Bottom,
                                            true);
    }
}

void HCTableControllerHelper::loadEdgeCells(size_t fromSection)
{
    auto self = platform::self(this);
    for (size_t i = fromSection; i < sections_.size(); ++i) {
        const int section = static_cast<int>(i);
        if (auto name = getLeadingCellControllerNameForSection(section)) {
            if (auto cell = HCControllerLoader::loadCell(*name, self)) {
                leadingCells_[section] = cell;
                // Filled with no resource, as static cells are.
                if (auto helper = std::dynamic_pointer_cast<HCTableCellHelper>(cell)) helper->setResource(nullptr);
                onLeadingCellWasLoaded(cell, section);
            }
        }
        if (auto name = getTrailingCellControllerNameForSection(section)) {
            if (auto cell = HCControllerLoader::loadCell(*name, self)) {
                trailingCells_[section] = cell;
                if (auto helper = std::dynamic_pointer_cast<HCTableCellHelper>(cell)) helper->setResource(nullptr);
            }
        }
    }
}

// --- empty, not loaded -----------------------------------------------------------

size_t HCTableControllerHelper::objectRowCount() const
{
    size_t rows = 0;
    for (const auto& section : sections_) rows += section->count() - hiddenObjects(*section);
    return rows;
}

size_t HCTableControllerHelper::hiddenObjects(const HCTableSectionDescription& section) const
{
    return &section == headerResourceSection_.get() && !section.hasStaticCells() && section.count() > 0 ? 1 : 0;
}

void HCTableControllerHelper::updateEmptyState()
{
    if (!tableView_) return;
    const bool empty = objectRowCount() == 0;
    if (loadFailed_ && empty) {
        // Neither "not loaded yet" nor "nothing found" would be true.
        showNoDataController(false);
        setFooterMessage(getLoadFailedMessage());
        return;
    }
    if (!loaded_) {
        showNoDataController(false);
        setFooterMessage(autoLoadData() ? std::string() : getDataNotLoadedYetMessage());
        return;
    }
    if (!empty || !shouldDisplayEmptyDataSet()) {
        showNoDataController(false);
        setFooterMessage({});
        return;
    }
    if (!noDataController_) noDataController_ = getNoDataFoundViewController();
    if (noDataController_) {
        setFooterMessage({});
        showNoDataController(true);
    } else {
        setFooterMessage(getNoDataFoundMessage());
    }
}

void HCTableControllerHelper::setFooterMessage(const std::string& text)
{
    const auto shown = tableView_->tableFooterView();
    if (text.empty()) {
        if (footerMessage_ && shown == footerMessage_) tableView_->setTableFooterView(pageFooter_);
        footerMessage_ = nullptr;
        pageFooter_ = nullptr;
        return;
    }
    if (!footerMessage_ || shown != footerMessage_) pageFooter_ = shown;
    const double width = std::max(0.0, tableView_->bounds().width() - 2 * kMessageMargin);
    footerMessage_ = platform::ui::Label::make();
    footerMessage_->setText(text);
    footerMessage_->setNumberOfLines(0);
    footerMessage_->setTextAlignment(platform::ui::TextAlignment::Center);
    const auto size = platform::ui::sizeWithFont(text, *footerMessage_->font(),
                                                 platform::ui::Size(width, 10000), platform::ui::LineBreakMode::WordWrap);
    footerMessage_->setFrame(platform::ui::Rect(kMessageMargin, 0, width, size.height + 2 * kMessageMargin));
    tableView_->setTableFooterView(footerMessage_);
    onTableFooterCreated(footerMessage_);
}

void HCTableControllerHelper::showNoDataController(bool show)
{
    if (!show) {
        if (noDataController_ && noDataController_->isViewLoaded()) noDataController_->viewIfLoaded()->removeFromSuperview();
        noDataController_ = nullptr;
        tableView_->setHidden(false);
        return;
    }
    auto emptyView = noDataController_->view();
    emptyView->setFrame(tableView_->frame());
    emptyView->setAutoresizingMask(tableView_->autoresizingMask());
    if (emptyView->superview() != view()) view()->insertSubviewAbove(emptyView, tableView_);
    tableView_->setHidden(true);
}

// --- rows ---------------------------------------------------------------------------

std::optional<HCTableControllerHelper::Row> HCTableControllerHelper::rowAt(const IndexPath& indexPath) const
{
    if (indexPath.section < 0 || static_cast<size_t>(indexPath.section) >= sections_.size() || indexPath.row < 0)
        return std::nullopt;
    Row row;
    row.section = sections_[static_cast<size_t>(indexPath.section)];
    const size_t hidden = hiddenObjects(*row.section);
    size_t index = static_cast<size_t>(indexPath.row);
    if (leadingCells_.count(indexPath.section)) {
        if (index == 0) {
            row.leading = true;
            return row;
        }
        --index;
    }
    const size_t resourceRows = resourceRowsInSection(*row.section);
    if (index == resourceRows && trailingCells_.count(indexPath.section)) {
        row.trailing = true;
        return row;
    }
    if (index >= resourceRows) return std::nullopt;
    if (resourceRows == row.section->count() - hidden) {
        row.index = index + hidden;
        return row;
    }
    size_t at = 0;
    for (size_t i = hidden; i < row.section->count(); ++i, ++at) {
        row.index = i;
        if (at == index) return row;
        if (!isExpanded(row.section->objectAtIndex(i))) continue;
        if (++at == index) {
            row.action = true;
            return row;
        }
    }
    return std::nullopt;
}

bool HCTableControllerHelper::isExpanded(const platform::ObjectPtr& resource) const
{
    return resource && actionCells_.count(resource.get()) > 0;
}

size_t HCTableControllerHelper::resourceRowsInSection(const HCTableSectionDescription& section) const
{
    const size_t hidden = hiddenObjects(section);
    size_t rows = section.count() - hidden;
    if (actionCells_.empty() || section.hasStaticCells()) return rows;
    for (size_t i = hidden; i < section.count(); ++i) rows += isExpanded(section.objectAtIndex(i)) ? 1 : 0;
    return rows;
}

platform::ObjectPtr HCTableControllerHelper::getResourceAtIndexPath(const IndexPath& indexPath) const
{
    HC_CHECK_MAIN_THREAD();
    auto row = rowAt(indexPath);
    if (!row || row->leading || row->trailing) return nullptr;
    return row->section->objectAtIndex(row->index);
}

std::optional<platform::ui::IndexPath> HCTableControllerHelper::getFirstIndexPathForResource(
    const platform::ObjectPtr& resource) const
{
    HC_CHECK_MAIN_THREAD();
    if (!resource) return std::nullopt;
    for (size_t s = 0; s < sections_.size(); ++s) {
        int row = leadingCells_.count(static_cast<int>(s)) ? 1 : 0;
        if (sections_[s]->hasStaticCells()) continue;
        for (size_t i = hiddenObjects(*sections_[s]); i < sections_[s]->count(); ++i, ++row) {
            const auto& object = sections_[s]->objectAtIndex(i);
            if (sameResource(object, resource)) return IndexPath{static_cast<int>(s), row};
            if (isExpanded(object)) ++row;
        }
    }
    return std::nullopt;
}

platform::ui::TableViewCellPtr HCTableControllerHelper::leadingCellForSection(int section) const
{
    auto it = leadingCells_.find(section);
    return it == leadingCells_.end() ? nullptr : it->second;
}

platform::ui::TableViewCellPtr HCTableControllerHelper::trailingCellForSection(int section) const
{
    auto it = trailingCells_.find(section);
    return it == trailingCells_.end() ? nullptr : it->second;
}

void HCTableControllerHelper::replaceResourceMap()
{
    HC_CHECK_MAIN_THREAD();
    resourceMap_ = HCResourceControllerMap();
    resourceMapPopulated_ = true;
    populateResourceMap(resourceMap_);
}

HCResourceControllerMap& HCTableControllerHelper::resourceMap()
{
    if (!resourceMapPopulated_) {
        resourceMapPopulated_ = true;
        populateResourceMap(resourceMap_);
    }
    return resourceMap_;
}

platform::ui::TableViewCellPtr HCTableControllerHelper::cellForResource(const platform::ObjectPtr& resource)
{
    auto cached = resourceCells_.find(resource.get());
    if (cached != resourceCells_.end()) return cached->second;
    platform::ui::TableViewCellPtr cell;
    if (auto name = resourceMap().cellNameForResource(resource)) {
        cell = HCControllerLoader::loadCell(*name, platform::self(this));
    }
    if (!cell) {
        // An unmapped resource still takes its row, so the counts stay true.
        cell = platform::ui::TableViewCell::make();
    }
    if (auto helper = std::dynamic_pointer_cast<HCTableCellHelper>(cell)) helper->setResource(resource);
    onCell(cell, resource);
    resourceCells_[resource.get()] = cell;
    return cell;
}

std::optional<double> HCTableControllerHelper::constantHeightFor(const std::string& cellName)
{
    auto it = constantHeights_.find(cellName);
    if (it != constantHeights_.end()) return it->second;
    // One cell of each name is made to learn whether its height is constant.
    auto prototype = std::dynamic_pointer_cast<HCTableCellHelper>(HCControllerLoader::loadCell(cellName, nullptr));
    std::optional<double> height;
    if (prototype && prototype->hasConstantHeight() && prototype->frame().height() > 0) {
        height = prototype->frame().height();
    }
    constantHeights_[cellName] = height;
    return height;
}

int HCTableControllerHelper::numberOfSections(platform::ui::TableView&)
{
    return static_cast<int>(sections_.size());
}

int HCTableControllerHelper::numberOfRowsInSection(platform::ui::TableView&, int section)
{
    if (section < 0 || static_cast<size_t>(section) >= sections_.size()) return 0;
    return static_cast<int>(resourceRowsInSection(*sections_[static_cast<size_t>(section)])) +
           (leadingCells_.count(section) ? 1 : 0) +
           (trailingCells_.count(section) ? 1 : 0);
}

std::optional<platform::ui::TableViewCellPtr> HCTableControllerHelper::fixedCellFor(const Row& row, int section)
{
    if (row.leading) return leadingCells_[section];
    if (row.trailing) return trailingCells_[section];
    if (row.section->hasStaticCells()) return row.section->staticCells()[row.index];
    if (row.action) return actionCellFor(row.section->objectAtIndex(row.index));
    return std::nullopt;
}

platform::ui::TableViewCellPtr HCTableControllerHelper::actionCellFor(const platform::ObjectPtr& resource)
{
    auto& cell = actionCells_[resource.get()];
    if (cell) return cell;
    if (auto name = actionCellClassName()) cell = HCControllerLoader::loadCell(*name, platform::self(this));
    if (!cell) cell = platform::ui::TableViewCell::make();
    if (auto helper = std::dynamic_pointer_cast<HCTableCellHelper>(cell)) helper->setResource(resource);
    return cell;
}

void HCTableControllerHelper::toggleExpansionAtIndexPath(const IndexPath& indexPath)
{
    HC_CHECK_MAIN_THREAD();
    auto row = rowAt(indexPath);
    if (!row || row->leading || row->trailing || row->action || row->section->hasStaticCells() ||
        !actionCellClassName())
        return;
    auto resource = row->section->objectAtIndex(row->index);
    if (isExpanded(resource)) {
        actionCells_.erase(resource.get());
    } else {
        actionCellFor(resource);
    }
    tableView()->reloadData();
}

bool HCTableControllerHelper::isExpandedAtIndexPath(const IndexPath& indexPath) const
{
    auto row = rowAt(indexPath);
    return row && !row->leading && !row->trailing && !row->action && !row->section->hasStaticCells() &&
           isExpanded(row->section->objectAtIndex(row->index));
}

bool HCTableControllerHelper::isActionRowAtIndexPath(const IndexPath& indexPath) const
{
    auto row = rowAt(indexPath);
    return row && row->action;
}

platform::ui::TableViewCellPtr HCTableControllerHelper::cellForRowAtIndexPath(platform::ui::TableView&,
                                                                              const IndexPath& indexPath)
{
    auto row = rowAt(indexPath);
    if (!row) return platform::ui::TableViewCell::make();
    auto fixed = fixedCellFor(*row, indexPath.section);
    auto cell = fixed ? *fixed : cellForResource(row->section->objectAtIndex(row->index));
    if (cell) configureCell(cell, row->leading, row->trailing, indexPath.row % 2 == 1);
    return cell;
}

std::optional<double> HCTableControllerHelper::heightForRowAtIndexPath(platform::ui::TableView& table,
                                                                       const IndexPath& indexPath)
{
    auto row = rowAt(indexPath);
    if (!row) return std::nullopt;
    auto fixed = fixedCellFor(*row, indexPath.section);
    platform::ui::TableViewCellPtr cell = fixed ? *fixed : nullptr;
    if (!fixed) {
        auto resource = row->section->objectAtIndex(row->index);
        // A row of constant height needs no cell of its own until it shows.
        if (!resourceCells_.count(resource.get())) {
            if (auto name = resourceMap().cellNameForResource(resource)) {
                if (auto height = constantHeightFor(*name)) return height;
            }
        }
        cell = cellForResource(resource);
    }
    const double height = cell ? cell->frame().height() : 0;
    return height > 0 ? height : table.rowHeight();
}

std::optional<std::string> HCTableControllerHelper::titleForHeaderInSection(platform::ui::TableView&, int section)
{
    if (section < 0 || static_cast<size_t>(section) >= sections_.size()) return std::nullopt;
    const auto& description = sections_[static_cast<size_t>(section)];
    if (description->headerView() || usePlainTableSectionHeaders()) return std::nullopt;
    const auto& title = description->title();
    return title && !title->empty() ? title : std::nullopt;
}

platform::ui::ViewPtr HCTableControllerHelper::viewForHeaderInSection(platform::ui::TableView&, int section)
{
    if (section < 0 || static_cast<size_t>(section) >= sections_.size()) return nullptr;
    if (auto view = sections_[static_cast<size_t>(section)]->headerView()) return view;
    if (!usePlainTableSectionHeaders()) return nullptr;
    auto it = headerViews_.find(section);
    if (it != headerViews_.end()) return it->second;
    auto view = createPlainTableSectionHeader(section);
    headerViews_[section] = view;
    return view;
}

std::optional<double> HCTableControllerHelper::heightForHeaderInSection(platform::ui::TableView& table, int section)
{
    auto view = viewForHeaderInSection(table, section);
    if (view) return view->frame().height();
    if (usePlainTableSectionHeaders()) return 0.0;
    return std::nullopt;
}

void HCTableControllerHelper::didSelectRowAtIndexPath(platform::ui::TableView&, const IndexPath& indexPath)
{
    if (auto row = rowAt(indexPath); row && row->trailing) {
        onTrailingCellWasClickedForSection(indexPath.section);
        return;
    } else if (row && row->leading) {
        onLeadingCellWasClickedForSection(indexPath.section);
        return;
    } else if (row && row->action) {
        return;
    }
    onCellWasClicked(getResourceAtIndexPath(indexPath), indexPath);
}

void HCTableControllerHelper::actionPressedForTag(int, const IndexPath&) {}

// --- editing ---------------------------------------------------------------------

std::optional<bool> HCTableControllerHelper::canEditRowAtIndexPath(platform::ui::TableView&,
                                                                   const IndexPath& indexPath)
{
    return allowEditing() && getResourceAtIndexPath(indexPath) != nullptr && !isActionRowAtIndexPath(indexPath);
}

std::optional<platform::ui::TableViewCellEditingStyle> HCTableControllerHelper::editingStyleForRowAtIndexPath(
    platform::ui::TableView& table, const IndexPath& indexPath)
{
    return canEditRowAtIndexPath(table, indexPath).value_or(false) ? platform::ui::TableViewCellEditingStyle::Delete
                                                                     : platform::ui::TableViewCellEditingStyle::None;
}

void HCTableControllerHelper::commitEditingStyle(platform::ui::TableView&, platform::ui::TableViewCellEditingStyle style,
                                                 const IndexPath& indexPath)
{
    if (style != platform::ui::TableViewCellEditingStyle::Delete || !allowEditing()) return;
    auto resource = getResourceAtIndexPath(indexPath);
    if (!resource) return;
    if (!shouldConfirmResourceDeletion()) {
        deleteResource(resource);
        return;
    }
    deletionConfirmation_ = std::make_shared<DeletionConfirmation>(platform::self(this), resource);
    auto sheet = platform::ui::ActionSheet::make(getResourceDeletePromptText(resource), deletionConfirmation_,
                                                 getResourceDeleteCancelText(), getResourceDeleteConfirmText());
    sheet->showInView(view());
}

void HCTableControllerHelper::deleteResource(const platform::ObjectPtr& resource)
{
    // The row may have moved (a load came in) since the swipe.
    auto indexPath = getFirstIndexPathForResource(resource);
    if (!indexPath) return;
    auto row = rowAt(*indexPath);
    auto page = row->section->page();
    auto objects = page->objects();
    auto removed = objects[row->index];
    objects.erase(objects.begin() + static_cast<std::ptrdiff_t>(row->index));
    auto header = page->header();
    page->setObjects(std::move(objects));
    page->setHeader(header);
    resourceCells_.erase(removed.get());
    std::vector<IndexPath> rows{*indexPath};
    if (actionCells_.erase(removed.get())) rows.push_back(IndexPath{indexPath->section, indexPath->row + 1});
    tableView()->deleteRowsAtIndexPaths(rows, platform::ui::TableViewRowAnimation::Fade);
    onResourceWasDeleted(removed);
    updateEmptyState();
}

void HCTableControllerHelper::updateEditButton()
{
    if (!allowEditing()) return;
    std::weak_ptr<HCTableControllerHelper> weakSelf = platform::self(this);
    auto toggle = [weakSelf](platform::ui::BarButtonItem&) {
        auto self = weakSelf.lock();
        if (!self) return;
        self->tableView()->setEditing(!self->tableView()->isEditing(), true);
        self->updateEditButton();
    };
    const bool editing = tableView_ && tableView_->isEditing();
    navigationItem()->setRightBarButtonItem(platform::ui::BarButtonItem::withSystemItem(
        editing ? platform::ui::SystemItem::Done : platform::ui::SystemItem::Edit, toggle));
}

// --- default hooks -----------------------------------------------------------------

std::shared_ptr<HCService> HCTableControllerHelper::getService()
{
    return nullptr;
}

void HCTableControllerHelper::doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    doIndexActionWithPage(1, onSuccess, onFailure);
}

void HCTableControllerHelper::doIndexActionWithPage(int, const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    if (auto service = getService()) {
        service->getIndexOnSuccess(onSuccess, onFailure);
        return;
    }
    HCReportMissingOverride(kSource, HCClassName(typeid(*this)), "doIndexActionWithPage:onSuccess:onFailure:");
    onFailure.invoke(nullptr);
}

void HCTableControllerHelper::populateResourceMap(HCResourceControllerMap&) {}

std::optional<std::string> HCTableControllerHelper::getTableHeaderControllerName()
{
    return std::nullopt;
}

std::optional<std::string> HCTableControllerHelper::getTableHeaderViewName()
{
    return std::nullopt;
}

void HCTableControllerHelper::onTableHeaderCreated(const platform::ObjectPtr&) {}

void HCTableControllerHelper::onHeaderResourceDownloaded(const platform::ObjectPtr&) {}

void HCTableControllerHelper::onTableFooterCreated(const platform::ui::ViewPtr&) {}

std::string HCTableControllerHelper::getNoDataFoundMessage()
{
    return "No data found.";
}

std::string HCTableControllerHelper::getDataNotLoadedYetMessage()
{
    return {};
}

std::string HCTableControllerHelper::getLoadFailedMessage()
{
    return kLoadFailedMessage;
}

platform::ui::ViewControllerPtr HCTableControllerHelper::getNoDataFoundViewController()
{
    return nullptr;
}

bool HCTableControllerHelper::shouldDisplayEmptyDataSet()
{
    return true;
}

bool HCTableControllerHelper::autoLoadData()
{
    return true;
}

bool HCTableControllerHelper::allowPagination()
{
    return true;
}

bool HCTableControllerHelper::usePlainTableSectionHeaders()
{
    return false;
}

platform::ui::ViewPtr HCTableControllerHelper::createPlainTableSectionHeader(int section)
{
    if (section < 0 || static_cast<size_t>(section) >= sections_.size()) return nullptr;
    const auto& title = sections_[static_cast<size_t>(section)]->title();
    if (!title || title->empty()) return nullptr;
    return HCSectionHeaderView::make(tableView_ ? tableView_->bounds().width() : 0, *title);
}

std::optional<std::string> HCTableControllerHelper::actionCellClassName()
{
    return std::nullopt;
}

bool HCTableControllerHelper::shouldConfirmResourceDeletion()
{
    return false;
}

std::string HCTableControllerHelper::getResourceDeleteConfirmText()
{
    return "Delete";
}

std::string HCTableControllerHelper::getResourceDeleteCancelText()
{
    return "Cancel";
}

std::string HCTableControllerHelper::getResourceDeletePromptText(const platform::ObjectPtr&)
{
    return "Are you sure you want to delete this?";
}

void HCTableControllerHelper::onResourceWasDeleted(const platform::ObjectPtr&) {}

bool HCTableControllerHelper::allowEditing()
{
    return false;
}

bool HCTableControllerHelper::shouldAlwaysRefreshWhenShown()
{
    return false;
}

bool HCTableControllerHelper::shouldAlwaysShowNavBar()
{
    return false;
}

void HCTableControllerHelper::onCellWasClicked(const platform::ObjectPtr&, const IndexPath&) {}

std::optional<std::string> HCTableControllerHelper::getLeadingCellControllerNameForSection(int)
{
    return std::nullopt;
}

void HCTableControllerHelper::onLeadingCellWasLoaded(const platform::ui::TableViewCellPtr&, int) {}

void HCTableControllerHelper::onLeadingCellWasClickedForSection(int section)
{
    onCellWasClicked(nullptr, IndexPath{section, 0});
}

void HCTableControllerHelper::configureCell(const platform::ui::TableViewCellPtr& cell, bool, bool, bool asOdd)
{
    auto helper = std::dynamic_pointer_cast<HCTableCellHelper>(cell);
    if (helper && helper->wantsToConfigureSelf()) return;
    auto background = std::dynamic_pointer_cast<HCTableCellBackgroundView>(cell->backgroundView());
    if (!background) {
        background = HCTableCellBackgroundView::defaultBackgroundView();
        cell->setBackgroundView(background);
    }
    // Rows may move between odd and even places (a row deleted above them).
    background->setAlpha(asOdd ? kOddRowAlpha : 1.0);
}

std::optional<std::string> HCTableControllerHelper::getTrailingCellControllerNameForSection(int)
{
    return std::nullopt;
}

void HCTableControllerHelper::onTrailingCellWasClickedForSection(int) {}

void HCTableControllerHelper::onResourcesDownloaded(const HCPaginatedSeriesPtr&) {}

void HCTableControllerHelper::onBeforeResourcesProcessed(const HCPaginatedSeriesPtr&) {}

void HCTableControllerHelper::onSectionsCreated(const Sections&) {}

void HCTableControllerHelper::onCell(const platform::ui::TableViewCellPtr&, const platform::ObjectPtr&) {}

std::optional<std::string> HCTableControllerHelper::getNotificationToRefreshAfter()
{
    return std::nullopt;
}

bool HCTableControllerHelper::shouldRefreshAfterNotification()
{
    return false;
}

bool HCTableControllerHelper::isNewContentShownAtBottom()
{
    return false;
}

bool HCTableControllerHelper::isNotificationResourceValid(const platform::ObjectPtr&)
{
    return true;
}


#include "platform/ui/TableView.h"

#include <algorithm>

#include "platform/foundation/ProgrammingError.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Control.h"

namespace platform::ui {
namespace {

// Pooled cells beyond this many per identifier are let go.
constexpr size_t kMaxPooledCellsPerIdentifier = 64;

// A person can touch the view: it and all its superviews are shown and take touches.
bool reachable(const View& view)
{
    for (const View* v = &view; v; v = v->superview().get())
        if (v->isHidden() || v->alpha() < 0.01 || !v->isUserInteractionEnabled()) return false;
    return true;
}

bool contains(const std::vector<IndexPath>& list, const IndexPath& ip)
{
    return std::find(list.begin(), list.end(), ip) != list.end();
}

}  // namespace

// --- optional methods: "not implemented" ------------------------------------

int TableViewDataSource::numberOfSections(TableView&) { return 1; }
std::optional<std::string> TableViewDataSource::titleForHeaderInSection(TableView&, int) { return std::nullopt; }
std::optional<bool> TableViewDataSource::canEditRowAtIndexPath(TableView&, const IndexPath&) { return std::nullopt; }
void TableViewDataSource::commitEditingStyle(TableView&, TableViewCellEditingStyle, const IndexPath&) {}

std::optional<double> TableViewDelegate::heightForRowAtIndexPath(TableView&, const IndexPath&) { return std::nullopt; }
ViewPtr TableViewDelegate::viewForHeaderInSection(TableView&, int) { return nullptr; }
std::optional<double> TableViewDelegate::heightForHeaderInSection(TableView&, int) { return std::nullopt; }
std::optional<IndexPath> TableViewDelegate::willSelectRowAtIndexPath(TableView&, const IndexPath& indexPath)
{
    return indexPath;
}
void TableViewDelegate::didSelectRowAtIndexPath(TableView&, const IndexPath&) {}
std::optional<TableViewCellEditingStyle> TableViewDelegate::editingStyleForRowAtIndexPath(TableView&, const IndexPath&)
{
    return std::nullopt;
}
void TableViewDelegate::accessoryButtonTappedForRowWithIndexPath(TableView&, const IndexPath&) {}
void TableViewDelegate::willDisplayCell(TableView&, const TableViewCellPtr&, const IndexPath&) {}

// --- set-up ---------------------------------------------------------------------

TableView::TableView(const Rect& frame, TableViewStyle style) : ScrollView(frame), style_(style) {}

void TableView::setDataSource(const std::shared_ptr<TableViewDataSource>& dataSource)
{
    HC_CHECK_MAIN_THREAD();
    dataSource_ = dataSource;
    setNeedsLayout();
    if (!loaded_) return;
    auto keepAlive = shared_from_this();
    auto cells = std::exchange(visible_, {});
    auto headers = takeHeaderViews();
    sections_.clear();
    selected_.reset();
    loaded_ = false;
    recycle(cells, headers);
}

void TableView::setDelegate(const std::shared_ptr<TableViewDelegate>& delegate)
{
    HC_CHECK_MAIN_THREAD();
    delegate_ = delegate;
    ScrollView::setDelegate(delegate);
}

void TableView::setTableHeaderView(ViewPtr view)
{
    HC_CHECK_MAIN_THREAD();
    if (tableHeaderView_) tableHeaderView_->removeFromSuperview();
    tableHeaderView_ = std::move(view);
    if (tableHeaderView_) addSubview(tableHeaderView_);
    if (loaded_) {
        applyGeometry();
        tile();
    }
}

void TableView::setTableFooterView(ViewPtr view)
{
    HC_CHECK_MAIN_THREAD();
    if (tableFooterView_) tableFooterView_->removeFromSuperview();
    tableFooterView_ = std::move(view);
    if (tableFooterView_) addSubview(tableFooterView_);
    if (loaded_) {
        applyGeometry();
        tile();
    }
}

// --- data -------------------------------------------------------------------------

std::vector<TableView::Section> TableView::querySections()
{
    std::vector<Section> result;
    auto source = dataSource();
    if (!source) return result;
    auto del = delegate();
    int count = std::max(0, source->numberOfSections(*this));
    result.resize(static_cast<size_t>(count));
    for (int s = 0; s < count; ++s) {
        Section& section = result[static_cast<size_t>(s)];
        section.rows = std::max(0, source->numberOfRowsInSection(*this, s));
        section.title = source->titleForHeaderInSection(*this, s);
        if (del) {
            section.headerView = del->viewForHeaderInSection(*this, s);
            section.headerViewAsked = true;
        }
        std::optional<double> header = del ? del->heightForHeaderInSection(*this, s) : std::nullopt;
        section.headerHeight =
            std::max(0.0, header.value_or(section.title || section.headerView ? sectionHeaderHeight_ : 0));
        section.rowHeights.reserve(static_cast<size_t>(section.rows));
        for (int r = 0; r < section.rows; ++r) {
            std::optional<double> height = del ? del->heightForRowAtIndexPath(*this, IndexPath(s, r)) : std::nullopt;
            section.rowHeights.push_back(std::max(0.0, height.value_or(rowHeight_)));
        }
    }
    return result;
}

void TableView::applyGeometry()
{
    const double width = bounds().width();
    double y = 0;
    if (tableHeaderView_) {
        tableHeaderView_->setFrame(Rect(0, 0, width, tableHeaderView_->frame().height()));
        y += tableHeaderView_->frame().height();
    }
    for (auto& section : sections_) {
        section.top = y;
        y += section.headerHeight;
        for (double h : section.rowHeights) y += h;
    }
    if (tableFooterView_) {
        tableFooterView_->setFrame(Rect(0, y, width, tableFooterView_->frame().height()));
        y += tableFooterView_->frame().height();
    }
    setContentSize(Size(width, y));
}

void TableView::ensureLoaded()
{
    if (!loaded_) reloadData();
}

std::vector<ViewPtr> TableView::takeHeaderViews()
{
    std::vector<ViewPtr> views;
    for (auto& section : sections_)
        if (section.headerView) views.push_back(std::move(section.headerView));
    return views;
}

void TableView::recycle(const std::map<IndexPath, TableViewCellPtr>& cells, const std::vector<ViewPtr>& headerViews)
{
    for (const auto& [ip, cell] : cells) enqueue(cell);
    for (const auto& view : headerViews) view->removeFromSuperview();
}

void TableView::reloadData()
{
    auto keepAlive = shared_from_this();
    loaded_ = true;
    const unsigned pass = ++reloadPasses_;
    auto cells = std::exchange(visible_, {});
    auto headers = takeHeaderViews();
    sections_.clear();
    selected_.reset();
    recycle(cells, headers);
    if (pass != reloadPasses_) return;
    sections_ = querySections();
    applyGeometry();
    tile();
}

int TableView::numberOfSections()
{
    ensureLoaded();
    return static_cast<int>(sections_.size());
}

int TableView::numberOfRowsInSection(int section)
{
    ensureLoaded();
    if (section < 0 || section >= static_cast<int>(sections_.size())) return 0;
    return sections_[static_cast<size_t>(section)].rows;
}

bool TableView::isValid(const IndexPath& ip) const
{
    return ip.section >= 0 && ip.section < static_cast<int>(sections_.size()) && ip.row >= 0 &&
           ip.row < sections_[static_cast<size_t>(ip.section)].rows;
}

void TableView::beginUpdates()
{
    ++updateDepth_;
}

void TableView::endUpdates()
{
    if (updateDepth_ == 0) return;
    if (--updateDepth_ == 0) applyUpdates(std::exchange(pending_, PendingUpdates{}));
}

void TableView::reloadRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, TableViewRowAnimation animation)
{
    updates_.push_back(Update{Update::Kind::Reload, indexPaths, animation});
    pending_.reloaded.insert(pending_.reloaded.end(), indexPaths.begin(), indexPaths.end());
    if (updateDepth_ == 0) applyUpdates(std::exchange(pending_, PendingUpdates{}));
}

void TableView::insertRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, TableViewRowAnimation animation)
{
    updates_.push_back(Update{Update::Kind::Insert, indexPaths, animation});
    pending_.inserted.insert(pending_.inserted.end(), indexPaths.begin(), indexPaths.end());
    if (updateDepth_ == 0) applyUpdates(std::exchange(pending_, PendingUpdates{}));
}

void TableView::deleteRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, TableViewRowAnimation animation)
{
    updates_.push_back(Update{Update::Kind::Delete, indexPaths, animation});
    pending_.deleted.insert(pending_.deleted.end(), indexPaths.begin(), indexPaths.end());
    if (updateDepth_ == 0) applyUpdates(std::exchange(pending_, PendingUpdates{}));
}

void TableView::applyUpdates(PendingUpdates updates)
{
    // Nothing shown yet: the data source's present state is all there is to show.
    if (!loaded_) {
        reloadData();
        return;
    }
    auto keepAlive = shared_from_this();
    std::vector<Section> fresh = querySections();

    // Deletions and reloads name rows as they were, insertions rows as they will be.
    std::string fault;
    if (fresh.size() != sections_.size()) fault = "the number of sections changed in a row update";
    for (const auto& ip : updates.deleted)
        if (fault.empty() && !isValid(ip)) fault = "deleting row " + ip.toString() + ", which does not exist";
    for (const auto& ip : updates.reloaded)
        if (fault.empty() && !isValid(ip)) fault = "reloading row " + ip.toString() + ", which does not exist";
    for (const auto& ip : updates.inserted) {
        bool inRange = ip.section >= 0 && ip.section < static_cast<int>(fresh.size()) && ip.row >= 0 &&
                       ip.row < fresh[static_cast<size_t>(ip.section)].rows;
        if (fault.empty() && !inRange) fault = "inserting row " + ip.toString() + ", which does not exist afterwards";
    }
    for (size_t s = 0; fault.empty() && s < sections_.size(); ++s) {
        auto inSection = [s](const IndexPath& ip) { return ip.section == static_cast<int>(s); };
        long expected = sections_[s].rows + std::count_if(updates.inserted.begin(), updates.inserted.end(), inSection) -
                        std::count_if(updates.deleted.begin(), updates.deleted.end(), inSection);
        if (fresh[s].rows != expected)
            fault = "invalid number of rows in section " + std::to_string(s) + ": " + std::to_string(fresh[s].rows) +
                    " after the update, expected " + std::to_string(expected);
    }
    if (!fault.empty()) {
        reportProgrammingError("Invalid table update: " + fault);
        reloadData();
        return;
    }

    std::map<int, std::vector<int>> insertedRows;
    for (const auto& ip : updates.inserted) insertedRows[ip.section].push_back(ip.row);
    for (auto& [s, rows] : insertedRows) std::sort(rows.begin(), rows.end());
    auto mapRow = [&](const IndexPath& ip) -> std::optional<IndexPath> {
        if (contains(updates.deleted, ip)) return std::nullopt;
        int row = ip.row - static_cast<int>(std::count_if(updates.deleted.begin(), updates.deleted.end(),
                                                          [&ip](const IndexPath& d) {
                                                              return d.section == ip.section && d.row < ip.row;
                                                          }));
        for (int inserted : insertedRows[ip.section])
            if (inserted <= row) ++row;
        return IndexPath(ip.section, row);
    };

    std::map<IndexPath, TableViewCellPtr> moved;
    std::map<IndexPath, TableViewCellPtr> leaving;
    for (const auto& [ip, cell] : visible_) {
        auto to = mapRow(ip);
        if (!to || contains(updates.reloaded, ip))
            leaving[ip] = cell;
        else
            moved[*to] = cell;
    }
    visible_ = std::move(moved);
    if (selected_) selected_ = mapRow(*selected_);
    auto headers = takeHeaderViews();
    sections_ = std::move(fresh);
    const unsigned pass = reloadPasses_;
    recycle(leaving, headers);
    if (pass != reloadPasses_) return;
    applyGeometry();
    tile();
}

// --- cells and geometry -----------------------------------------------------------

Rect TableView::rectForRowAtIndexPath(const IndexPath& ip)
{
    ensureLoaded();
    if (!isValid(ip)) return Rect();
    const Section& section = sections_[static_cast<size_t>(ip.section)];
    double y = section.top + section.headerHeight;
    for (int r = 0; r < ip.row; ++r) y += section.rowHeights[static_cast<size_t>(r)];
    return Rect(0, y, bounds().width(), section.rowHeights[static_cast<size_t>(ip.row)]);
}

Rect TableView::rectForHeaderInSection(int section)
{
    ensureLoaded();
    if (section < 0 || section >= static_cast<int>(sections_.size())) return Rect();
    const Section& s = sections_[static_cast<size_t>(section)];
    return Rect(0, s.top, bounds().width(), s.headerHeight);
}

void TableView::enqueue(const TableViewCellPtr& cell)
{
    cell->removeFromSuperview();
    if (cell->reuseIdentifier().empty()) return;
    auto& pool = reusePool_[cell->reuseIdentifier()];
    if (pool.size() < kMaxPooledCellsPerIdentifier && std::find(pool.begin(), pool.end(), cell) == pool.end())
        pool.push_back(cell);
}

TableViewCellPtr TableView::dequeueReusableCellWithIdentifier(const std::string& identifier)
{
    auto it = reusePool_.find(identifier);
    if (it == reusePool_.end() || it->second.empty()) return nullptr;
    auto cell = it->second.back();
    it->second.pop_back();
    cell->prepareForReuse();
    return cell;
}

void TableView::tile()
{
    auto keepAlive = shared_from_this();
    const unsigned pass = ++tilePasses_;
    const Rect visibleRect = bounds();
    tiledBounds_ = visibleRect;
    const double width = visibleRect.width();

    struct HeaderPlace {
        ViewPtr view;
        Rect frame;
        bool shown;
    };
    std::vector<HeaderPlace> headers;
    std::vector<IndexPath> wanted;
    for (size_t s = 0; s < sections_.size(); ++s) {
        const Section& section = sections_[s];
        Rect header(0, section.top, width, section.headerHeight);
        if (section.headerView)
            headers.push_back({section.headerView, header, section.headerHeight > 0 && header.intersects(visibleRect)});
        double y = section.top + section.headerHeight;
        for (int r = 0; r < section.rows; ++r) {
            double h = section.rowHeights[static_cast<size_t>(r)];
            Rect row(0, y, width, h);
            if (h > 0 && row.intersects(visibleRect)) wanted.emplace_back(static_cast<int>(s), r);
            y += h;
        }
    }
    std::map<IndexPath, TableViewCellPtr> leaving;
    for (auto it = visible_.begin(); it != visible_.end();) {
        if (contains(wanted, it->first)) {
            ++it;
            continue;
        }
        leaving.emplace(it->first, it->second);
        it = visible_.erase(it);
    }

    // From here on client code runs; once it has tiled or reloaded the table
    // itself, what this pass worked out is stale.
    recycle(leaving, {});
    if (pass != tilePasses_) return;
    for (const auto& place : headers) {
        place.view->setFrame(place.frame);
        if (place.shown && place.view->superview().get() != this) addSubview(place.view);
        if (!place.shown) place.view->removeFromSuperview();
        if (pass != tilePasses_) return;
    }
    for (const auto& ip : wanted) {
        auto found = visible_.find(ip);
        if (found != visible_.end()) {
            found->second->setFrame(rectForRowAtIndexPath(ip));
            continue;
        }
        auto source = dataSource();
        if (!source) break;
        auto cell = source->cellForRowAtIndexPath(*this, ip);
        if (pass != tilePasses_) return;
        if (!cell) {
            reportProgrammingError("the table's data source gave no cell for row " + ip.toString());
            continue;
        }
        // The data source may have reloaded the table while it made the cell.
        if (!isValid(ip) || visible_.count(ip)) continue;
        cell->setFrame(rectForRowAtIndexPath(ip));
        cell->setSelected(selected_ == ip, false);
        cell->setEditing(editing_, false);
        insertSubview(cell, 0);
        visible_[ip] = cell;
        if (auto del = delegate()) del->willDisplayCell(*this, cell, ip);
        if (pass != tilePasses_) return;
    }
}

void TableView::tileIfBoundsChanged()
{
    if (!loaded_) {
        reloadData();
        return;
    }
    if (tiledBounds_ && *tiledBounds_ == bounds()) return;
    applyGeometry();
    tile();
}

void TableView::touchesEnded(const TouchSet& touches, const Event&)
{
    if (touches.empty()) return;
    if (auto ip = indexPathForRowAtPoint(touches.front()->locationInView(platform::self(this)))) tapRow(*ip);
}

void TableView::layoutSubviews()
{
    ScrollView::layoutSubviews();
    tileIfBoundsChanged();
}

void TableView::didMoveToWindow()
{
    ScrollView::didMoveToWindow();
    if (window()) setNeedsLayout();
}

void TableView::didScroll()
{
    if (loaded_) tile();
}

std::vector<TableViewCellPtr> TableView::visibleCells()
{
    tileIfBoundsChanged();
    std::vector<TableViewCellPtr> cells;
    for (const auto& [ip, cell] : visible_) cells.push_back(cell);
    return cells;
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows()
{
    tileIfBoundsChanged();
    std::vector<IndexPath> paths;
    for (const auto& [ip, cell] : visible_) paths.push_back(ip);
    return paths;
}

TableViewCellPtr TableView::cellForRowAtIndexPath(const IndexPath& ip)
{
    tileIfBoundsChanged();
    auto it = visible_.find(ip);
    return it == visible_.end() ? nullptr : it->second;
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCellPtr& cell)
{
    tileIfBoundsChanged();
    for (const auto& [ip, visibleCell] : visible_)
        if (visibleCell == cell) return ip;
    return std::nullopt;
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(Point point)
{
    ensureLoaded();
    for (size_t s = 0; s < sections_.size(); ++s)
        for (int r = 0; r < sections_[s].rows; ++r) {
            IndexPath ip(static_cast<int>(s), r);
            if (rectForRowAtIndexPath(ip).contains(point)) return ip;
        }
    return std::nullopt;
}

void TableView::scrollToRowAtIndexPath(const IndexPath& ip, TableViewScrollPosition position, bool animated)
{
    ensureLoaded();
    if (!isValid(ip)) return;
    const Rect row = rectForRowAtIndexPath(ip);
    const Rect shown = bounds();
    double y = shown.minY();
    switch (position) {
    case TableViewScrollPosition::Top: y = row.minY(); break;
    case TableViewScrollPosition::Middle: y = row.midY() - shown.height() / 2; break;
    case TableViewScrollPosition::Bottom: y = row.maxY() - shown.height(); break;
    case TableViewScrollPosition::None:
        if (row.minY() < shown.minY())
            y = row.minY();
        else if (row.maxY() > shown.maxY())
            y = row.maxY() - shown.height();
        break;
    }
    y = std::clamp(y, minimumContentOffset().y, std::max(minimumContentOffset().y, maximumContentOffset().y));
    if (y != shown.minY()) setContentOffset(Point(contentOffset().x, y), animated);
}

// --- selection -------------------------------------------------------------------------

void TableView::selectRowAtIndexPath(const std::optional<IndexPath>& ip, bool animated,
                                     TableViewScrollPosition position)
{
    ensureLoaded();
    if (!ip) {
        if (selected_) deselectRowAtIndexPath(*selected_, animated);
        return;
    }
    if (!isValid(*ip)) return;
    lastSelectionAnimated_ = animated;
    if (selected_ && *selected_ != *ip)
        if (auto it = visible_.find(*selected_); it != visible_.end()) it->second->setSelected(false, animated);
    selected_ = ip;
    if (auto it = visible_.find(*ip); it != visible_.end()) it->second->setSelected(true, animated);
    if (position != TableViewScrollPosition::None) scrollToRowAtIndexPath(*ip, position, animated);
}

void TableView::deselectRowAtIndexPath(const IndexPath& ip, bool animated)
{
    lastSelectionAnimated_ = animated;
    if (selected_ != ip) return;
    selected_.reset();
    if (auto it = visible_.find(ip); it != visible_.end()) it->second->setSelected(false, animated);
}

// --- editing ------------------------------------------------------------------------------

void TableView::setEditing(bool editing, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    editing_ = editing;
    lastEditingAnimated_ = animated;
    // A copy: a cell's setEditing is client code that may reload the table.
    const auto cells = visible_;
    for (const auto& [ip, cell] : cells) cell->setEditing(editing, animated);
}

TableViewCellEditingStyle TableView::editingStyleForRow(const IndexPath& ip)
{
    ensureLoaded();
    auto source = dataSource();
    if (!source || !isValid(ip)) return TableViewCellEditingStyle::None;
    if (!source->canEditRowAtIndexPath(*this, ip).value_or(true)) return TableViewCellEditingStyle::None;
    auto del = delegate();
    auto style = del ? del->editingStyleForRowAtIndexPath(*this, ip) : std::nullopt;
    return style.value_or(TableViewCellEditingStyle::Delete);
}

// --- what a person does ----------------------------------------------------------------------

bool TableView::tapRow(const IndexPath& ip)
{
    ensureLoaded();
    if (!reachable(*this) || !allowsSelection_ || (editing_ && !allowsSelectionDuringEditing_) || !isValid(ip))
        return false;
    auto keepAlive = shared_from_this();
    scrollToRowAtIndexPath(ip, TableViewScrollPosition::None, false);
    auto cell = cellForRowAtIndexPath(ip);
    if (cell) cell->setHighlighted(true, false);
    std::optional<IndexPath> target = ip;
    if (auto del = delegate()) target = del->willSelectRowAtIndexPath(*this, ip);
    if (cell) cell->setHighlighted(false, false);
    if (!target || !isValid(*target)) return false;
    selectRowAtIndexPath(*target, false, TableViewScrollPosition::None);
    if (auto del = delegate()) del->didSelectRowAtIndexPath(*this, *target);
    return true;
}

bool TableView::tapAccessory(const IndexPath& ip)
{
    ensureLoaded();
    if (!reachable(*this) || !isValid(ip)) return false;
    auto keepAlive = shared_from_this();
    scrollToRowAtIndexPath(ip, TableViewScrollPosition::None, false);
    auto cell = cellForRowAtIndexPath(ip);
    if (!cell) return false;
    if (auto control = std::dynamic_pointer_cast<Control>(cell->accessoryView())) return control->tap();
    if (cell->accessoryView() || cell->accessoryType() != TableViewCellAccessoryType::DetailDisclosureButton)
        return false;
    if (auto del = delegate()) del->accessoryButtonTappedForRowWithIndexPath(*this, ip);
    return true;
}

bool TableView::tapDelete(const IndexPath& ip)
{
    return personCommits(ip, TableViewCellEditingStyle::Delete);
}

bool TableView::tapInsert(const IndexPath& ip)
{
    return editing_ && personCommits(ip, TableViewCellEditingStyle::Insert);
}

bool TableView::personCommits(const IndexPath& ip, TableViewCellEditingStyle style)
{
    ensureLoaded();
    if (!reachable(*this) || !isValid(ip) || editingStyleForRow(ip) != style) return false;
    auto keepAlive = shared_from_this();
    scrollToRowAtIndexPath(ip, TableViewScrollPosition::None, false);
    if (auto source = dataSource()) source->commitEditingStyle(*this, style, ip);
    return true;
}

std::string TableView::describe() const
{
    if (!loaded_) return "not loaded";
    std::string text = "sections=" + std::to_string(sections_.size()) + " rows=";
    for (size_t s = 0; s < sections_.size(); ++s) text += (s ? "," : "") + std::to_string(sections_[s].rows);
    if (editing_) text += " editing";
    if (selected_) text += " selected=" + selected_->toString();
    std::string scroll = ScrollView::describe();
    if (!scroll.empty()) text += " " + scroll;
    return text;
}

}  // namespace platform::ui

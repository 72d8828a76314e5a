#pragma once
// TableView: a scroll view of rows in sections. A data source tells it what
// the rows are; a delegate sizes them, vets and hears of selections, and
// decides the editing style. Both are held weakly.
//
// Cells are asked for only while they are visible: reloadData (or the first
// look at the table) asks the data source for the counts, titles and row
// heights of every section, then for a cell of each row whose rectangle
// meets the bounds (content offset + table height). Scrolling, resizing and
// row updates ask for the cells that come into sight; cells that leave it go
// to the reuse pool under their reuse identifier, where
// dequeueReusableCellWithIdentifier finds them (after prepareForReuse).
//
// Row insertions and deletions (with beginUpdates/endUpdates batching) are
// checked against the data source's new counts, as on the platform: a
// mismatch is reported as a programming error and the table reloads.
//
// Selecting in code makes no delegate call. A person's tap (tapRow) asks
// willSelectRowAtIndexPath, which may redirect the selection or veto it
// (nullopt), then selects and calls didSelectRowAtIndexPath.
//
// Thread: main thread only.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableViewCell.h"

namespace platform::ui {

class TableView;

// Numbers match the platform's.
enum class TableViewStyle : int { Plain = 0, Grouped = 1 };
enum class TableViewRowAnimation : int { Fade = 0, Right = 1, Left = 2, Top = 3, Bottom = 4, None = 5, Middle = 6 };
enum class TableViewScrollPosition : int { None = 0, Top = 1, Middle = 2, Bottom = 3 };
enum class TableViewSeparatorStyle : int { None = 0, SingleLine = 1, SingleLineEtched = 2 };

// The two required methods are pure; the optional ones answer nullopt (or do
// nothing) for "not implemented".
class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;
    // Not implemented: one section.
    virtual int numberOfSections(TableView& tableView);
    virtual int numberOfRowsInSection(TableView& tableView, int section) = 0;
    virtual TableViewCellPtr cellForRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) = 0;
    virtual std::optional<std::string> titleForHeaderInSection(TableView& tableView, int section);
    // Not implemented: every row may be edited.
    virtual std::optional<bool> canEditRowAtIndexPath(TableView& tableView, const IndexPath& indexPath);
    virtual void commitEditingStyle(TableView& tableView, TableViewCellEditingStyle style, const IndexPath& indexPath);
};

class TableViewDelegate : public ScrollViewDelegate {
public:
    // Not implemented: the table's rowHeight.
    virtual std::optional<double> heightForRowAtIndexPath(TableView& tableView, const IndexPath& indexPath);
    virtual ViewPtr viewForHeaderInSection(TableView& tableView, int section);
    // Not implemented: sectionHeaderHeight when the section has a title or a
    // header view, else 0.
    virtual std::optional<double> heightForHeaderInSection(TableView& tableView, int section);
    // The row to select instead, or nullopt to select nothing. The default
    // keeps the tapped row.
    virtual std::optional<IndexPath> willSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath);
    virtual void didSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath);
    // Not implemented: Delete.
    virtual std::optional<TableViewCellEditingStyle> editingStyleForRowAtIndexPath(TableView& tableView,
                                                                                  const IndexPath& indexPath);
    virtual void accessoryButtonTappedForRowWithIndexPath(TableView& tableView, const IndexPath& indexPath);
    virtual void willDisplayCell(TableView& tableView, const TableViewCellPtr& cell, const IndexPath& indexPath);
};

class TableView : public ScrollView {
public:
    static constexpr double kDefaultRowHeight = 44;
    static constexpr double kDefaultSectionHeaderHeight = 22;

    // One row update, as asked (for checks of how a page changed its rows).
    struct Update {
        enum class Kind { Reload, Insert, Delete };
        Kind kind;
        std::vector<IndexPath> indexPaths;
        TableViewRowAnimation animation;
    };

    explicit TableView(const Rect& frame = Rect(), TableViewStyle style = TableViewStyle::Plain);
    static std::shared_ptr<TableView> make(const Rect& frame = Rect(), TableViewStyle style = TableViewStyle::Plain)
    {
        return std::make_shared<TableView>(frame, style);
    }

    TableViewStyle style() const { return style_; }
    std::shared_ptr<TableViewDataSource> dataSource() const { return dataSource_.lock(); }
    // A new data source is asked afresh on the next look at the table.
    void setDataSource(const std::shared_ptr<TableViewDataSource>& dataSource);
    // Also the scroll view's delegate.
    std::shared_ptr<TableViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<TableViewDelegate>& delegate);

    double rowHeight() const { return rowHeight_; }
    void setRowHeight(double height) { HC_CHECK_MAIN_THREAD(); rowHeight_ = height; }
    double sectionHeaderHeight() const { return sectionHeaderHeight_; }
    void setSectionHeaderHeight(double height) { HC_CHECK_MAIN_THREAD(); sectionHeaderHeight_ = height; }
    TableViewSeparatorStyle separatorStyle() const { return separatorStyle_; }
    void setSeparatorStyle(TableViewSeparatorStyle style) { HC_CHECK_MAIN_THREAD(); separatorStyle_ = style; }
    bool allowsSelection() const { return allowsSelection_; }
    void setAllowsSelection(bool allows) { HC_CHECK_MAIN_THREAD(); allowsSelection_ = allows; }
    bool allowsSelectionDuringEditing() const { return allowsSelectionDuringEditing_; }
    void setAllowsSelectionDuringEditing(bool allows)
    {
        HC_CHECK_MAIN_THREAD();
        allowsSelectionDuringEditing_ = allows;
    }
    const ViewPtr& tableHeaderView() const { return tableHeaderView_; }
    void setTableHeaderView(ViewPtr view);
    const ViewPtr& tableFooterView() const { return tableFooterView_; }
    void setTableFooterView(ViewPtr view);

    // --- data -------------------------------------------------------------
    // Asks the data source afresh; visible cells go to the reuse pool first and
    // the selection is cleared.
    void reloadData();
    // Whether reloadData has run (it runs by itself on the first look).
    bool hasLoadedData() const { return loaded_; }
    int numberOfSections();
    int numberOfRowsInSection(int section);
    void beginUpdates();
    void endUpdates();
    void reloadRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, TableViewRowAnimation animation);
    void insertRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, TableViewRowAnimation animation);
    void deleteRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, TableViewRowAnimation animation);
    const std::vector<Update>& recordedUpdates() const { return updates_; }

    // --- cells and geometry ---------------------------------------------------
    // A pooled cell with that identifier, after its prepareForReuse; nullptr when none waits.
    TableViewCellPtr dequeueReusableCellWithIdentifier(const std::string& identifier);
    // Visible cells in row order.
    std::vector<TableViewCellPtr> visibleCells();
    std::vector<IndexPath> indexPathsForVisibleRows();
    // The visible cell of the row, else nullptr.
    TableViewCellPtr cellForRowAtIndexPath(const IndexPath& indexPath);
    std::optional<IndexPath> indexPathForCell(const TableViewCellPtr& cell);
    // In content coordinates.
    std::optional<IndexPath> indexPathForRowAtPoint(Point point);
    Rect rectForRowAtIndexPath(const IndexPath& indexPath);
    Rect rectForHeaderInSection(int section);
    void scrollToRowAtIndexPath(const IndexPath& indexPath, TableViewScrollPosition position, bool animated);

    // --- selection ---------------------------------------------------------------
    std::optional<IndexPath> indexPathForSelectedRow() const { return selected_; }
    // nullopt deselects. No delegate call.
    void selectRowAtIndexPath(const std::optional<IndexPath>& indexPath, bool animated,
                              TableViewScrollPosition position);
    void deselectRowAtIndexPath(const IndexPath& indexPath, bool animated);
    // Whether the last selection or deselection was asked animated.
    bool wasLastSelectionChangeAnimated() const { return lastSelectionAnimated_; }

    // --- editing -----------------------------------------------------------------
    bool isEditing() const { return editing_; }
    void setEditing(bool editing, bool animated);
    bool wasLastEditingChangeAnimated() const { return lastEditingAnimated_; }
    // The style the row shows in editing mode (None when it cannot be edited).
    TableViewCellEditingStyle editingStyleForRow(const IndexPath& indexPath);

    // --- what a person does ----------------------------------------------------------
    // Scrolls the row into sight and taps it. False when selection is not
    // allowed, the row does not exist or the delegate vetoed it.
    bool tapRow(const IndexPath& indexPath);
    // The detail disclosure button (or a control as accessory view) of a visible row.
    bool tapAccessory(const IndexPath& indexPath);
    // Deletes the row the way a person does: in editing mode the delete control
    // and its confirmation, otherwise a swipe and the confirmation. Commits
    // Delete to the data source when the row is editable with the Delete style.
    bool tapDelete(const IndexPath& indexPath);
    // The insert control in editing mode: commits Insert when that is the row's style.
    bool tapInsert(const IndexPath& indexPath);
    // A touch that ends on a row (and that no cell handled) taps that row.
    void touchesEnded(const TouchSet& touches, const Event& event) override;

    void layoutSubviews() override;
    // A table that enters a window is laid out (and so loaded) in the next layout pass.
    void didMoveToWindow() override;
    std::string kindName() const override { return "TableView"; }
    // "sections=2 rows=3,1", then "editing" and "selected=[0,1]" when they hold.
    std::string describe() const override;

protected:
    void didScroll() override;

private:
    struct Section {
        double top = 0;  // where the section's header starts, in content coordinates
        int rows = 0;
        std::optional<std::string> title;
        double headerHeight = 0;
        std::vector<double> rowHeights;
        ViewPtr headerView;
        bool headerViewAsked = false;
    };
    struct PendingUpdates {
        std::vector<IndexPath> inserted;
        std::vector<IndexPath> deleted;
        std::vector<IndexPath> reloaded;
    };

    void ensureLoaded();
    // The section header views, taken out of sections_ so the caller can
    // remove them after the table's own state is settled.
    std::vector<ViewPtr> takeHeaderViews();
    // Takes cells and header views off the table. Their hooks may run client
    // code (a focused field in a cell ends editing) that reloads or scrolls the
    // table, so callers hand over what they have already taken out of
    // visible_ and sections_, and check reloadPasses_ afterwards.
    void recycle(const std::map<IndexPath, TableViewCellPtr>& cells, const std::vector<ViewPtr>& headerViews);
    // Counts, titles and heights from the data source and delegate.
    std::vector<Section> querySections();
    void applyGeometry();
    void tile();
    void tileIfBoundsChanged();
    void enqueue(const TableViewCellPtr& cell);
    bool isValid(const IndexPath& indexPath) const;
    void applyUpdates(PendingUpdates updates);
    bool personCommits(const IndexPath& indexPath, TableViewCellEditingStyle style);

    TableViewStyle style_;
    std::weak_ptr<TableViewDataSource> dataSource_;
    std::weak_ptr<TableViewDelegate> delegate_;
    double rowHeight_ = kDefaultRowHeight;
    double sectionHeaderHeight_ = kDefaultSectionHeaderHeight;
    TableViewSeparatorStyle separatorStyle_ = TableViewSeparatorStyle::SingleLine;
    bool allowsSelection_ = true;
    bool allowsSelectionDuringEditing_ = false;
    ViewPtr tableHeaderView_;
    ViewPtr tableFooterView_;

    bool loaded_ = false;
    std::vector<Section> sections_;
    std::map<IndexPath, TableViewCellPtr> visible_;
    std::map<std::string, std::vector<TableViewCellPtr>> reusePool_;
    std::optional<Rect> tiledBounds_;
    int updateDepth_ = 0;
    // Counted so a pass can tell that client code it called has reloaded or
    // re-tiled the table meanwhile, and leave the fresher result alone.
    unsigned reloadPasses_ = 0;
    unsigned tilePasses_ = 0;
    PendingUpdates pending_;
    std::vector<Update> updates_;

    std::optional<IndexPath> selected_;
    bool lastSelectionAnimated_ = false;
    bool editing_ = false;
    bool lastEditingAnimated_ = false;
};

using TableViewPtr = std::shared_ptr<TableView>;

}  // namespace platform::ui

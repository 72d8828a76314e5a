#include "platform/ui/TableView.h"

#include <map>

#include "ControllerTestFixture.h"
#include "platform/ui/TextField.h"

using namespace platform::ui;

namespace {

// Rows are texts in sections; cells are made or reused under one identifier.
class Rows : public TableViewDataSource, public TableViewDelegate {
public:
    int numberOfSections(TableView&) override { return static_cast<int>(model.size()); }
    int numberOfRowsInSection(TableView&, int section) override
    {
        return static_cast<int>(model[static_cast<size_t>(section)].size());
    }
    TableViewCellPtr cellForRowAtIndexPath(TableView& table, const IndexPath& ip) override
    {
        asked.push_back(ip);
        auto cell = table.dequeueReusableCellWithIdentifier("row");
        if (!cell) {
            cell = TableViewCell::make(TableViewCellStyle::Default, "row");
            ++made;
        }
        cell->textLabel()->setText(model[static_cast<size_t>(ip.section)][static_cast<size_t>(ip.row)]);
        return cell;
    }
    std::optional<bool> canEditRowAtIndexPath(TableView&, const IndexPath& ip) override
    {
        if (locked.count(ip)) return false;
        return std::nullopt;
    }
    void commitEditingStyle(TableView& table, TableViewCellEditingStyle style, const IndexPath& ip) override
    {
        commits.emplace_back(style, ip);
        if (style != TableViewCellEditingStyle::Delete) return;
        auto& rows = model[static_cast<size_t>(ip.section)];
        rows.erase(rows.begin() + ip.row);
        table.deleteRowsAtIndexPaths({ip}, TableViewRowAnimation::Fade);
    }

    std::optional<double> heightForRowAtIndexPath(TableView&, const IndexPath& ip) override
    {
        auto it = heights.find(ip);
        if (it == heights.end()) return std::nullopt;
        return it->second;
    }
    std::optional<IndexPath> willSelectRowAtIndexPath(TableView&, const IndexPath& ip) override
    {
        willSelect.push_back(ip);
        if (veto) return std::nullopt;
        return redirect.value_or(ip);
    }
    void didSelectRowAtIndexPath(TableView&, const IndexPath& ip) override { didSelect.push_back(ip); }
    void scrollViewWillBeginDragging(ScrollView&) override { scrolls.push_back("begin"); }
    void scrollViewDidScroll(ScrollView& view) override { scrolls.push_back(formatNumber(view.contentOffset().y)); }
    void scrollViewDidEndDragging(ScrollView&, bool decelerate) override
    {
        scrolls.push_back(decelerate ? "end decelerating" : "end");
    }
    std::optional<TableViewCellEditingStyle> editingStyleForRowAtIndexPath(TableView&, const IndexPath& ip) override
    {
        auto it = styles.find(ip);
        if (it == styles.end()) return std::nullopt;
        return it->second;
    }

    std::vector<std::vector<std::string>> model;
    std::map<IndexPath, double> heights;
    std::map<IndexPath, TableViewCellEditingStyle> styles;
    std::set<IndexPath> locked;
    bool veto = false;
    std::optional<IndexPath> redirect;
    std::vector<IndexPath> asked;
    std::vector<IndexPath> willSelect;
    std::vector<IndexPath> didSelect;
    std::vector<std::pair<TableViewCellEditingStyle, IndexPath>> commits;
    std::vector<std::string> scrolls;
    int made = 0;
};

std::vector<std::string> numbered(const std::string& prefix, int count)
{
    std::vector<std::string> rows;
    for (int i = 0; i < count; ++i) rows.push_back(prefix + std::to_string(i));
    return rows;
}

class TableViewTest : public uitest::ControllerTest {
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        rows = std::make_shared<Rows>();
        table = TableView::make(Rect(0, 0, 320, 200));
        table->setDataSource(rows);
        table->setDelegate(rows);
        window->addSubview(table);
    }

    std::vector<IndexPath> visible() { return table->indexPathsForVisibleRows(); }
    std::vector<std::string> visibleTexts()
    {
        std::vector<std::string> texts;
        for (const auto& cell : table->visibleCells()) texts.push_back(cell->textLabel()->text());
        return texts;
    }

    std::shared_ptr<Rows> rows;
    TableViewPtr table;
};

TEST_F(TableViewTest, OnlyRowsMeetingTheBoundsGetCellsAndScrollingBringsInTheOthers)
{
    rows->model = {numbered("r", 20)};
    table->reloadData();
    EXPECT_EQ(visible(), (std::vector<IndexPath>{{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}}));
    EXPECT_EQ(rows->asked.size(), 5u) << "cells are asked for only while visible";
    EXPECT_EQ(table->contentSize(), Size(320, 20 * 44));

    table->setContentOffset(Point(0, 100));
    EXPECT_EQ(visible(), (std::vector<IndexPath>{{0, 2}, {0, 3}, {0, 4}, {0, 5}, {0, 6}}));
    EXPECT_EQ(visibleTexts(), (std::vector<std::string>{"r2", "r3", "r4", "r5", "r6"}));
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 0}), nullptr);

    // A taller table shows more rows from the same offset.
    table->setFrame(Rect(0, 0, 320, 300));
    EXPECT_EQ(visible().back(), (IndexPath{0, 9}));
}

TEST_F(TableViewTest, DraggingScrollsInStepsBringsRowsIntoSightAndStopsAtTheEnd)
{
    rows->model = {numbered("r", 30)};
    table->reloadData();
    EXPECT_TRUE(driver.dragScrollView(table, 0, 50));
    EXPECT_EQ(rows->scrolls, (std::vector<std::string>{"begin", "16.67", "33.33", "50", "end"}));
    EXPECT_EQ(visibleTexts(), (std::vector<std::string>{"r1", "r2", "r3", "r4", "r5"}));

    rows->scrolls.clear();
    EXPECT_TRUE(driver.dragScrollView(table, 0, 5000));
    EXPECT_EQ(table->contentOffset().y, 30 * 44 - 200) << "the content stops at its last row";
    EXPECT_EQ(visible().back(), IndexPath(0, 29));
    EXPECT_EQ(rows->scrolls.back(), "end");

    // A finger on a row that came into sight selects it.
    driver.tapAt(table->convertPointTo(table->rectForRowAtIndexPath({0, 28}).center(), nullptr));
    EXPECT_EQ(rows->didSelect, (std::vector<IndexPath>{{0, 28}}));
    table->setScrollEnabled(false);
    EXPECT_FALSE(driver.dragScrollView(table, 0, -100));
}

TEST_F(TableViewTest, RowHeightsFromTheDelegateAndSectionTitlesPlaceTheRows)
{
    struct Titled : Rows {
        std::optional<std::string> titleForHeaderInSection(TableView&, int section) override
        {
            if (section == 1) return std::string("Friends");
            return std::nullopt;
        }
    };
    auto titled = std::make_shared<Titled>();
    titled->model = {{"a", "b"}, {"c", "d", "e"}};
    titled->heights[{0, 0}] = 150;
    table->setDataSource(titled);
    table->setDelegate(titled);
    table->reloadData();

    EXPECT_EQ(table->rectForRowAtIndexPath({0, 1}), Rect(0, 150, 320, 44));
    EXPECT_EQ(table->rectForHeaderInSection(1), Rect(0, 194, 320, TableView::kDefaultSectionHeaderHeight));
    EXPECT_EQ(table->rectForRowAtIndexPath({1, 0}).minY(), 194 + TableView::kDefaultSectionHeaderHeight);
    EXPECT_EQ(table->indexPathsForVisibleRows(), (std::vector<IndexPath>{{0, 0}, {0, 1}}))
        << "the second section starts below the bottom edge";
    EXPECT_EQ(table->indexPathForRowAtPoint(Point(5, 160)), (IndexPath{0, 1}));
}

TEST_F(TableViewTest, CellsThatScrollAwayAreReusedAfterPrepareForReuse)
{
    struct Counting : TableViewCell {
        using TableViewCell::TableViewCell;
        void prepareForReuse() override
        {
            TableViewCell::prepareForReuse();
            ++prepared;
        }
        int prepared = 0;
    };
    rows->model = {numbered("r", 100)};
    table->reloadData();
    auto first = table->cellForRowAtIndexPath({0, 0});
    ASSERT_NE(first, nullptr);

    for (int y = 0; y <= 4000; y += 20) table->setContentOffset(Point(0, y));
    EXPECT_LE(rows->made, 7) << "scrolling through 100 rows needs no more cells than fit, plus one";
    EXPECT_EQ(visibleTexts().front(), "r90");

    // A cell class of its own goes through prepareForReuse when handed out again.
    auto counting = std::make_shared<Counting>(TableViewCellStyle::Default, "counted");
    auto other = TableView::make(Rect(0, 0, 320, 44));
    struct One : TableViewDataSource {
        int numberOfRowsInSection(TableView&, int) override { return 2; }
        TableViewCellPtr cellForRowAtIndexPath(TableView& t, const IndexPath&) override
        {
            auto cell = t.dequeueReusableCellWithIdentifier("counted");
            return cell ? cell : next;
        }
        TableViewCellPtr next;
    };
    auto one = std::make_shared<One>();
    one->next = counting;
    other->setDataSource(one);
    other->reloadData();
    counting->setSelected(true, false);
    other->setContentOffset(Point(0, 44));
    EXPECT_EQ(other->cellForRowAtIndexPath({0, 1}), counting);
    EXPECT_EQ(counting->prepared, 1);
    EXPECT_FALSE(counting->isSelected());
}

TEST_F(TableViewTest, PersonsTapAsksWillSelectWhichMayVetoOrRedirect)
{
    rows->model = {numbered("r", 30)};
    table->reloadData();

    rows->veto = true;
    EXPECT_FALSE(driver.selectRow(table, {0, 1}));
    EXPECT_EQ(table->indexPathForSelectedRow(), std::nullopt);
    EXPECT_TRUE(rows->didSelect.empty());

    rows->veto = false;
    rows->redirect = IndexPath(0, 3);
    EXPECT_TRUE(driver.selectRow(table, {0, 1}));
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 3}));
    EXPECT_EQ(rows->didSelect, (std::vector<IndexPath>{{0, 3}}));
    EXPECT_TRUE(table->cellForRowAtIndexPath({0, 3})->isSelected());
    EXPECT_FALSE(table->cellForRowAtIndexPath({0, 1})->isSelected());

    // Selecting in code tells nobody; a tap far down scrolls the row into sight first.
    rows->redirect.reset();
    table->selectRowAtIndexPath(IndexPath(0, 2), false, TableViewScrollPosition::None);
    EXPECT_EQ(rows->willSelect.size(), 2u);
    EXPECT_TRUE(driver.selectRow(table, {0, 25}));
    EXPECT_NE(table->cellForRowAtIndexPath({0, 25}), nullptr);
    EXPECT_TRUE(table->cellForRowAtIndexPath({0, 25})->isSelected());

    table->deselectRowAtIndexPath({0, 25}, true);
    EXPECT_EQ(table->indexPathForSelectedRow(), std::nullopt);
    EXPECT_TRUE(table->wasLastSelectionChangeAnimated());

    // Rows cannot be tapped in editing mode unless the table allows it.
    table->setEditing(true, false);
    EXPECT_FALSE(driver.selectRow(table, {0, 25}));
    EXPECT_FALSE(driver.selectRow(table, {0, 30})) << "no such row";
}

TEST_F(TableViewTest, DeleteByAPersonReachesTheDataSourceWithTheRowAndTheRowsMove)
{
    rows->model = {{"a", "b"}, numbered("r", 10)};
    table->reloadData();
    table->setEditing(true, true);
    EXPECT_TRUE(table->wasLastEditingChangeAnimated());
    for (const auto& cell : table->visibleCells()) EXPECT_TRUE(cell->isEditing());

    auto cellOfR5 = (table->scrollToRowAtIndexPath({1, 5}, TableViewScrollPosition::Top, false),
                     table->cellForRowAtIndexPath({1, 5}));
    EXPECT_TRUE(driver.deleteRow(table, {1, 4}));
    ASSERT_EQ(rows->commits.size(), 1u);
    EXPECT_EQ(rows->commits[0].first, TableViewCellEditingStyle::Delete);
    EXPECT_EQ(rows->commits[0].second, (IndexPath{1, 4}));
    EXPECT_EQ(table->numberOfRowsInSection(1), 9);
    EXPECT_EQ(table->cellForRowAtIndexPath({1, 4}), cellOfR5) << "the row below moves up with its cell";
    ASSERT_EQ(table->recordedUpdates().size(), 1u);
    EXPECT_EQ(table->recordedUpdates()[0].kind, TableView::Update::Kind::Delete);
    EXPECT_TRUE(errors.empty());

    // Rows that cannot be edited, or whose style is not Delete, commit nothing.
    rows->locked.insert(IndexPath(0, 0));
    rows->styles[{0, 1}] = TableViewCellEditingStyle::Insert;
    EXPECT_FALSE(driver.deleteRow(table, {0, 0}));
    EXPECT_FALSE(driver.deleteRow(table, {0, 1}));
    EXPECT_TRUE(driver.insertRow(table, {0, 1}));
    EXPECT_EQ(rows->commits.back().first, TableViewCellEditingStyle::Insert);
    EXPECT_EQ(table->editingStyleForRow({0, 0}), TableViewCellEditingStyle::None);
}

TEST_F(TableViewTest, RowUpdatesThatDoNotMatchTheDataSourceAreReportedAndReloaded)
{
    rows->model = {{"a", "b", "c"}};
    table->reloadData();
    table->selectRowAtIndexPath(IndexPath(0, 2), false, TableViewScrollPosition::None);

    // Inserted in the model and announced in one batch: the selection follows its row.
    rows->model[0].insert(rows->model[0].begin(), "new");
    table->beginUpdates();
    table->insertRowsAtIndexPaths({{0, 0}}, TableViewRowAnimation::Top);
    table->endUpdates();
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 3}));
    EXPECT_EQ(visibleTexts(), (std::vector<std::string>{"new", "a", "b", "c"}));

    // Announced but never made in the model.
    table->deleteRowsAtIndexPaths({{0, 1}}, TableViewRowAnimation::Fade);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("section 0"), std::string::npos);
    EXPECT_EQ(table->numberOfRowsInSection(0), 4) << "the table shows what the data source says";
    EXPECT_EQ(table->indexPathForSelectedRow(), std::nullopt);
}

TEST_F(TableViewTest, NewDataSourceIsAskedOnTheNextLookAndHeaderViewsAddToTheContent)
{
    table->setDataSource(nullptr);
    EXPECT_TRUE(table->visibleCells().empty());
    rows->model = {{"a"}};
    table->setDataSource(rows);
    auto header = View::make(Rect(0, 0, 320, 60));
    table->setTableHeaderView(header);
    EXPECT_EQ(visibleTexts(), (std::vector<std::string>{"a"}));
    EXPECT_EQ(table->rectForRowAtIndexPath({0, 0}).minY(), 60);
    EXPECT_EQ(table->contentSize().height, 60 + 44);

    // Reloading a row asks for its cell again.
    auto before = rows->asked.size();
    rows->model[0][0] = "A";
    table->reloadRowsAtIndexPaths({{0, 0}}, TableViewRowAnimation::None);
    EXPECT_EQ(rows->asked.size(), before + 1);
    EXPECT_EQ(visibleTexts(), (std::vector<std::string>{"A"}));
}

TEST_F(TableViewTest, DriverFindsARowByItsTextAndTheAccessoryButtonReachesTheDelegate)
{
    struct Accessory : Rows {
        void accessoryButtonTappedForRowWithIndexPath(TableView&, const IndexPath& ip) override
        {
            accessoryTapped.push_back(ip);
        }
        std::vector<IndexPath> accessoryTapped;
    };
    auto source = std::make_shared<Accessory>();
    source->model = {{"Invitations", "IM Conversations"}};
    table->setDataSource(source);
    table->setDelegate(source);
    EXPECT_TRUE(driver.selectRowWithText("IM Conversations"));
    EXPECT_EQ(source->didSelect, (std::vector<IndexPath>{{0, 1}}));
    EXPECT_FALSE(driver.selectRowWithText("Starred Forum Posts"));

    EXPECT_FALSE(driver.tapAccessory(table, {0, 0}));
    table->cellForRowAtIndexPath({0, 0})->setAccessoryType(TableViewCellAccessoryType::DetailDisclosureButton);
    EXPECT_TRUE(driver.tapAccessory(table, {0, 0}));
    EXPECT_EQ(source->accessoryTapped, (std::vector<IndexPath>{{0, 0}}));
}

// A form row: a cell whose text field saves when editing ends and then
// reloads the table, as a settings page does. The field loses the focus when
// its cell leaves the window, which happens while the table itself is taking
// its cells away.
struct SaveAndReload : TextFieldDelegate {
    void textFieldDidEndEditing(TextField&) override
    {
        ++saved;
        if (auto t = table.lock()) t->reloadData();
    }
    std::weak_ptr<TableView> table;
    int saved = 0;
};

class FormRows : public Rows {
public:
    TableViewCellPtr cellForRowAtIndexPath(TableView& table, const IndexPath& ip) override
    {
        auto cell = Rows::cellForRowAtIndexPath(table, ip);
        if (ip == IndexPath(0, 0)) {
            if (field) field->removeFromSuperview();
            field = TextField::make(Rect(0, 0, 100, 30));
            field->setDelegate(saver);
            cell->contentView()->addSubview(field);
        }
        return cell;
    }
    std::shared_ptr<SaveAndReload> saver = std::make_shared<SaveAndReload>();
    std::shared_ptr<TextField> field;
};

TEST_F(TableViewTest, AnEditingCellThatReloadsTheTableWhenItLeavesDoesNotDisturbTheTable)
{
    auto form = std::make_shared<FormRows>();
    form->saver->table = table;
    form->model = {numbered("r", 30)};
    table->setDataSource(form);
    table->setDelegate(form);
    table->reloadData();
    const auto focus = [&] {
        ASSERT_NE(form->field, nullptr);
        ASSERT_TRUE(form->field->becomeFirstResponder());
    };
    // Every cell on the table is one of its visible rows: none was left behind.
    const auto cellsOnTable = [&] {
        size_t count = 0;
        for (const auto& sub : table->subviews()) count += std::dynamic_pointer_cast<TableViewCell>(sub) ? 1 : 0;
        return count;
    };

    // Reloading takes every cell away.
    focus();
    table->reloadData();
    EXPECT_EQ(form->saver->saved, 1);
    EXPECT_EQ(visibleTexts(), (std::vector<std::string>{"r0", "r1", "r2", "r3", "r4"}));
    EXPECT_EQ(cellsOnTable(), 5u);

    // Scrolling takes the first cell away.
    focus();
    table->setContentOffset(Point(0, 300));
    EXPECT_EQ(form->saver->saved, 2);
    EXPECT_EQ(visibleTexts(), (std::vector<std::string>{"r6", "r7", "r8", "r9", "r10", "r11"}));
    EXPECT_EQ(cellsOnTable(), 6u);

    // A row update takes the deleted row's cell away.
    table->setContentOffset(Point(0, 0));
    focus();
    form->model[0].erase(form->model[0].begin());
    table->deleteRowsAtIndexPaths({{0, 0}}, TableViewRowAnimation::Fade);
    EXPECT_EQ(form->saver->saved, 3);
    EXPECT_EQ(visibleTexts().front(), "r1");
    EXPECT_EQ(cellsOnTable(), table->visibleCells().size());
    EXPECT_TRUE(errors.empty());
}

TEST_F(TableViewTest, AnEditingSectionHeaderThatReloadsTheTableWhenItLeavesDoesNotDisturbTheTable)
{
    // A search field in each section's header, saving and reloading as above.
    struct HeaderForm : Rows {
        ViewPtr viewForHeaderInSection(TableView&, int section) override
        {
            auto header = View::make(Rect(0, 0, 320, 22));
            auto field = TextField::make(Rect(0, 0, 100, 22));
            field->setDelegate(saver);
            header->addSubview(field);
            fields[section] = field;
            return header;
        }
        std::shared_ptr<SaveAndReload> saver = std::make_shared<SaveAndReload>();
        std::map<int, std::shared_ptr<TextField>> fields;
    };
    auto form = std::make_shared<HeaderForm>();
    form->saver->table = table;
    form->model = {{"a"}, {"b"}, {"c"}};
    table->setDataSource(form);
    table->setDelegate(form);
    table->reloadData();

    ASSERT_TRUE(form->fields[0]->becomeFirstResponder());
    table->reloadData();
    EXPECT_EQ(form->saver->saved, 1);
    size_t headersOnTable = 0;
    for (const auto& sub : table->subviews())
        if (!std::dynamic_pointer_cast<TableViewCell>(sub)) ++headersOnTable;
    EXPECT_EQ(headersOnTable, 3u) << "one header per section, none left behind";
    EXPECT_EQ(visibleTexts(), (std::vector<std::string>{"a", "b", "c"}));
}

}  // namespace

#pragma once
// One row of a table: a content view holding a text label, a detail label
// and an image view as the cell style places them, an accessory at the right
// edge, backgrounds for the normal and the selected state, and the selected,
// highlighted and editing states the table sets.
//
// The labels and the image view are made on first use and put into the
// content view, as on the platform; the default style has no detail label.
// A cell with a reuse identifier goes back to its table's reuse pool when it
// scrolls out of sight, and prepareForReuse runs before it is handed out again.
//
// Thread: main thread only.
#include <memory>
#include <string>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

namespace platform::ui {

// Numbers match the platform's.
enum class TableViewCellStyle : int { Default = 0, Value1 = 1, Value2 = 2, Subtitle = 3 };
enum class TableViewCellAccessoryType : int { None = 0, DisclosureIndicator = 1, DetailDisclosureButton = 2, Checkmark = 3 };
enum class TableViewCellSelectionStyle : int { None = 0, Blue = 1, Gray = 2 };
enum class TableViewCellEditingStyle : int { None = 0, Delete = 1, Insert = 2 };

class TableViewCell : public View {
public:
    explicit TableViewCell(TableViewCellStyle style = TableViewCellStyle::Default, std::string reuseIdentifier = {});
    static std::shared_ptr<TableViewCell> make(TableViewCellStyle style = TableViewCellStyle::Default,
                                               std::string reuseIdentifier = {})
    {
        return std::make_shared<TableViewCell>(style, std::move(reuseIdentifier));
    }

    TableViewCellStyle style() const { return style_; }
    const std::string& reuseIdentifier() const { return reuseIdentifier_; }

    // Subviews of a cell's content go here. (The content view joins the cell
    // on first use: a view cannot take subviews while it is being made.)
    const ViewPtr& contentView();
    const LabelPtr& textLabel();
    // nullptr for the default style.
    LabelPtr detailTextLabel();
    const ImageViewPtr& imageView();

    TableViewCellAccessoryType accessoryType() const { return accessoryType_; }
    void setAccessoryType(TableViewCellAccessoryType type) { HC_CHECK_MAIN_THREAD(); accessoryType_ = type; }
    // Shown instead of the accessory type when set.
    const ViewPtr& accessoryView() const { return accessoryView_; }
    void setAccessoryView(ViewPtr view);
    TableViewCellSelectionStyle selectionStyle() const { return selectionStyle_; }
    void setSelectionStyle(TableViewCellSelectionStyle style) { HC_CHECK_MAIN_THREAD(); selectionStyle_ = style; }
    const ViewPtr& backgroundView() const { return backgroundView_; }
    void setBackgroundView(ViewPtr view);
    const ViewPtr& selectedBackgroundView() const { return selectedBackgroundView_; }
    void setSelectedBackgroundView(ViewPtr view);

    bool isSelected() const { return selected_; }
    // Subclasses that restyle themselves when selected call the base first.
    virtual void setSelected(bool selected, bool animated);
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted, bool animated);
    bool isEditing() const { return editing_; }
    virtual void setEditing(bool editing, bool animated);
    // Clears selection and highlight; subclasses reset their content after the base.
    virtual void prepareForReuse();

    // The text, detail and image places by the style; the accessory at the right.
    void layoutSubviews() override;
    std::string kindName() const override { return "TableViewCell"; }
    // The accessory, then "selected" and "editing" when they hold.
    std::string describe() const override;

private:
    void showBackgrounds();

    TableViewCellStyle style_;
    std::string reuseIdentifier_;
    ViewPtr contentView_;
    LabelPtr textLabel_;
    LabelPtr detailTextLabel_;
    ImageViewPtr imageView_;
    TableViewCellAccessoryType accessoryType_ = TableViewCellAccessoryType::None;
    ViewPtr accessoryView_;
    TableViewCellSelectionStyle selectionStyle_ = TableViewCellSelectionStyle::Blue;
    ViewPtr backgroundView_;
    ViewPtr selectedBackgroundView_;
    bool selected_ = false;
    bool highlighted_ = false;
    bool editing_ = false;
};

using TableViewCellPtr = std::shared_ptr<TableViewCell>;

}  // namespace platform::ui

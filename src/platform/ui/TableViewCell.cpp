#include "platform/ui/TableViewCell.h"

#include <algorithm>

#include "platform/runtime/ThreadChecker.h"

namespace platform::ui {
namespace {

constexpr double kMargin = 10;
constexpr double kAccessoryWidth = 20;
constexpr double kEditingIndent = 32;

const char* accessoryName(TableViewCellAccessoryType type)
{
    switch (type) {
    case TableViewCellAccessoryType::None: return "";
    case TableViewCellAccessoryType::DisclosureIndicator: return "disclosure";
    case TableViewCellAccessoryType::DetailDisclosureButton: return "detail-disclosure";
    case TableViewCellAccessoryType::Checkmark: return "checkmark";
    }
    return "";
}

}  // namespace

TableViewCell::TableViewCell(TableViewCellStyle style, std::string reuseIdentifier)
    : View(Rect(0, 0, 320, 44)), style_(style), reuseIdentifier_(std::move(reuseIdentifier)),
      contentView_(View::make(Rect(0, 0, 320, 44)))
{
    contentView_->setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleHeight);
}

const ViewPtr& TableViewCell::contentView()
{
    if (contentView_->superview().get() != this) {
        contentView_->setFrame(bounds());
        addSubview(contentView_);
    }
    return contentView_;
}

const LabelPtr& TableViewCell::textLabel()
{
    if (!textLabel_) {
        textLabel_ = Label::make();
        textLabel_->setFont(Font::boldSystemFontOfSize(style_ == TableViewCellStyle::Value2 ? 12 : 17));
        contentView()->addSubview(textLabel_);
        setNeedsLayout();
    }
    return textLabel_;
}

LabelPtr TableViewCell::detailTextLabel()
{
    if (style_ == TableViewCellStyle::Default) return nullptr;
    if (!detailTextLabel_) {
        detailTextLabel_ = Label::make();
        detailTextLabel_->setFont(Font::systemFontOfSize(style_ == TableViewCellStyle::Subtitle ? 14 : 17));
        contentView()->addSubview(detailTextLabel_);
        setNeedsLayout();
    }
    return detailTextLabel_;
}

const ImageViewPtr& TableViewCell::imageView()
{
    if (!imageView_) {
        imageView_ = ImageView::make();
        contentView()->insertSubview(imageView_, 0);
        setNeedsLayout();
    }
    return imageView_;
}

void TableViewCell::setAccessoryView(ViewPtr view)
{
    HC_CHECK_MAIN_THREAD();
    if (accessoryView_) accessoryView_->removeFromSuperview();
    accessoryView_ = std::move(view);
    if (accessoryView_) addSubview(accessoryView_);
    setNeedsLayout();
}

void TableViewCell::setBackgroundView(ViewPtr view)
{
    HC_CHECK_MAIN_THREAD();
    if (backgroundView_) backgroundView_->removeFromSuperview();
    backgroundView_ = std::move(view);
    if (backgroundView_) insertSubview(backgroundView_, 0);
    showBackgrounds();
}

void TableViewCell::setSelectedBackgroundView(ViewPtr view)
{
    HC_CHECK_MAIN_THREAD();
    if (selectedBackgroundView_) selectedBackgroundView_->removeFromSuperview();
    selectedBackgroundView_ = std::move(view);
    if (selectedBackgroundView_) insertSubviewBelow(selectedBackgroundView_, contentView());
    showBackgrounds();
}

void TableViewCell::showBackgrounds()
{
    bool lit = (selected_ || highlighted_) && selectionStyle_ != TableViewCellSelectionStyle::None;
    if (selectedBackgroundView_) {
        selectedBackgroundView_->setFrame(bounds());
        selectedBackgroundView_->setHidden(!lit);
    }
    if (backgroundView_) backgroundView_->setFrame(bounds());
    if (textLabel_) textLabel_->setHighlighted(lit);
    if (detailTextLabel_) detailTextLabel_->setHighlighted(lit);
    if (imageView_) imageView_->setHighlighted(lit);
}

void TableViewCell::setSelected(bool selected, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    (void)animated;
    selected_ = selected;
    showBackgrounds();
}

void TableViewCell::setHighlighted(bool highlighted, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    (void)animated;
    highlighted_ = highlighted;
    showBackgrounds();
}

void TableViewCell::setEditing(bool editing, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    (void)animated;
    if (editing_ == editing) return;
    editing_ = editing;
    setNeedsLayout();
}

void TableViewCell::prepareForReuse()
{
    setHighlighted(false, false);
    setSelected(false, false);
}

void TableViewCell::layoutSubviews()
{
    const Rect b = bounds();
    double left = editing_ ? kEditingIndent : 0;
    double right = b.width();
    if (accessoryView_) {
        Size s = accessoryView_->frame().size;
        accessoryView_->setFrame(Rect(b.width() - kMargin - s.width, (b.height() - s.height) / 2, s.width, s.height));
        right = accessoryView_->frame().minX();
    } else if (accessoryType_ != TableViewCellAccessoryType::None) {
        right = b.width() - kMargin - kAccessoryWidth;
    }
    contentView_->setFrame(Rect(left, 0, std::max(0.0, right - left), b.height()));
    showBackgrounds();

    const double w = contentView_->bounds().width();
    const double h = b.height();
    double x = kMargin;
    if (imageView_ && imageView_->image()) {
        Size s = imageView_->image()->size();
        imageView_->setFrame(Rect(x, (h - s.height) / 2, s.width, s.height));
        x += s.width + kMargin;
    }
    double textWidth = std::max(0.0, w - x - kMargin);
    switch (style_) {
    case TableViewCellStyle::Default:
        if (textLabel_) textLabel_->setFrame(Rect(x, 0, textWidth, h));
        break;
    case TableViewCellStyle::Subtitle:
        if (textLabel_) textLabel_->setFrame(Rect(x, 0, textWidth, h * 0.55));
        if (detailTextLabel_) detailTextLabel_->setFrame(Rect(x, h * 0.55, textWidth, h * 0.45));
        break;
    case TableViewCellStyle::Value1:
        if (textLabel_) textLabel_->setFrame(Rect(x, 0, textWidth / 2, h));
        if (detailTextLabel_) detailTextLabel_->setFrame(Rect(x + textWidth / 2, 0, textWidth / 2, h));
        break;
    case TableViewCellStyle::Value2:
        if (textLabel_) textLabel_->setFrame(Rect(x, 0, textWidth * 0.3, h));
        if (detailTextLabel_) detailTextLabel_->setFrame(Rect(x + textWidth * 0.3, 0, textWidth * 0.7, h));
        break;
    }
}

std::string TableViewCell::describe() const
{
    std::string text = accessoryName(accessoryType_);
    auto add = [&text](const char* word) {
        if (!text.empty()) text += ' ';
        text += word;
    };
    if (selected_) add("selected");
    if (editing_) add("editing");
    return text;
}

}  // namespace platform::ui

#include "platform/ui/BarButtonItem.h"

#include "platform/ui/Control.h"

namespace platform::ui {
namespace {

const char* systemItemName(SystemItem item)
{
    switch (item) {
    case SystemItem::Done: return "Done";
    case SystemItem::Cancel: return "Cancel";
    case SystemItem::Edit: return "Edit";
    case SystemItem::Save: return "Save";
    case SystemItem::Add: return "Add";
    case SystemItem::FlexibleSpace: return "FlexibleSpace";
    case SystemItem::Compose: return "Compose";
    case SystemItem::Refresh: return "Refresh";
    }
    return "?";
}

}  // namespace

std::shared_ptr<BarButtonItem> BarButtonItem::withTitle(std::string title, BarButtonStyle style, Action action)
{
    auto item = std::make_shared<BarButtonItem>();
    item->title_ = std::move(title);
    item->style_ = style;
    item->action_ = std::move(action);
    return item;
}

std::shared_ptr<BarButtonItem> BarButtonItem::withImage(ImagePtr image, BarButtonStyle style, Action action)
{
    auto item = std::make_shared<BarButtonItem>();
    item->image_ = std::move(image);
    item->style_ = style;
    item->action_ = std::move(action);
    return item;
}

std::shared_ptr<BarButtonItem> BarButtonItem::withSystemItem(SystemItem systemItem, Action action)
{
    auto item = std::make_shared<BarButtonItem>();
    item->systemItem_ = systemItem;
    item->style_ = (systemItem == SystemItem::Done || systemItem == SystemItem::Save) ? BarButtonStyle::Done
                                                                                      : BarButtonStyle::Bordered;
    item->action_ = std::move(action);
    return item;
}

std::shared_ptr<BarButtonItem> BarButtonItem::withCustomView(ViewPtr view)
{
    auto item = std::make_shared<BarButtonItem>();
    item->customView_ = std::move(view);
    return item;
}

void BarButtonItem::sendAction()
{
    if (!action_) return;
    // A copy keeps the closure alive when the action replaces itself.
    Action action = action_;
    action(*this);
}

bool BarButtonItem::tap()
{
    if (!enabled_ || systemItem_ == SystemItem::FlexibleSpace) return false;
    if (auto control = std::dynamic_pointer_cast<Control>(customView_)) return control->tap();
    sendAction();
    return true;
}

std::string BarButtonItem::displayTitle() const
{
    if (!title_.empty() || !systemItem_) return title_;
    switch (*systemItem_) {
    case SystemItem::Done:
    case SystemItem::Cancel:
    case SystemItem::Edit:
    case SystemItem::Save: return systemItemName(*systemItem_);
    default: return {};
    }
}

std::string BarButtonItem::description() const
{
    std::string text = "BarButtonItem";
    if (systemItem_) text += std::string(" system=") + systemItemName(*systemItem_);
    if (!title_.empty()) text += " \"" + title_ + "\"";
    if (image_) text += " image=" + (image_->name().empty() ? std::string("(unnamed)") : image_->name());
    if (customView_) text += " custom=" + customView_->kindName();
    if (!enabled_) text += " disabled";
    return text;
}

}  // namespace platform::ui

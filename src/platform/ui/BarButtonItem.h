#pragma once
// A button of a navigation bar or toolbar: a title, an image, a system item
// or a custom view, with a style, an enabled state, a tag and one action.
//
// The action is a closure that captures its target (weakly when the target
// owns the item). sendAction() is what the item does when tapped; a person's
// tap goes through tap(), which is refused while the item is disabled.
//
// Thread: main thread only.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/Object.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Image.h"
#include "platform/ui/View.h"

namespace platform::ui {

// Numbers match the platform's system items.
enum class SystemItem : int {
    Done = 0,
    Cancel = 1,
    Edit = 2,
    Save = 3,
    Add = 4,
    FlexibleSpace = 5,
    Compose = 7,
    Refresh = 13,
};

enum class BarButtonStyle : int { Plain = 0, Bordered = 1, Done = 2 };

class BarButtonItem : public Object {
public:
    using Action = std::function<void(BarButtonItem& sender)>;

    BarButtonItem() = default;
    static std::shared_ptr<BarButtonItem> withTitle(std::string title, BarButtonStyle style, Action action);
    static std::shared_ptr<BarButtonItem> withImage(ImagePtr image, BarButtonStyle style, Action action);
    // Done and Save take the Done style, the others Bordered.
    static std::shared_ptr<BarButtonItem> withSystemItem(SystemItem item, Action action);
    static std::shared_ptr<BarButtonItem> withCustomView(ViewPtr view);

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { HC_CHECK_MAIN_THREAD(); title_ = std::move(title); }
    const ImagePtr& image() const { return image_; }
    void setImage(ImagePtr image) { HC_CHECK_MAIN_THREAD(); image_ = std::move(image); }
    const ViewPtr& customView() const { return customView_; }
    void setCustomView(ViewPtr view) { HC_CHECK_MAIN_THREAD(); customView_ = std::move(view); }
    // Set only for items made from a system item.
    const std::optional<SystemItem>& systemItem() const { return systemItem_; }
    BarButtonStyle style() const { return style_; }
    void setStyle(BarButtonStyle style) { HC_CHECK_MAIN_THREAD(); style_ = style; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { HC_CHECK_MAIN_THREAD(); enabled_ = enabled; }
    int tag() const { return tag_; }
    void setTag(int tag) { HC_CHECK_MAIN_THREAD(); tag_ = tag; }

    const Action& action() const { return action_; }
    void setAction(Action action) { HC_CHECK_MAIN_THREAD(); action_ = std::move(action); }
    // Runs the action (nothing without one), whether or not the item is enabled.
    void sendAction();
    // A person's tap: refused (false) while disabled or for a flexible space.
    // An item with a custom view that is a control taps that control.
    bool tap();

    // The words a person reads on the item: the title, else the system item's
    // label ("Done", "Cancel", "Edit", "Save"); empty for icon-only items.
    std::string displayTitle() const;
    // "BarButtonItem \"Done\"" and the like, for screen dumps.
    std::string description() const override;

private:
    std::string title_;
    ImagePtr image_;
    ViewPtr customView_;
    std::optional<SystemItem> systemItem_;
    BarButtonStyle style_ = BarButtonStyle::Plain;
    bool enabled_ = true;
    int tag_ = 0;
    Action action_;
};

using BarButtonItemPtr = std::shared_ptr<BarButtonItem>;

}  // namespace platform::ui

#pragma once
// ActionSheet: a title and a column of buttons that slides up from the
// bottom of a view (or, on a large screen, points at a bar button item or a
// rectangle). See AlertPanel.h for the order of the delegate calls.
//
// Button order, as on the platform: the destructive button first, then the
// other buttons in the order given, then the cancel button last;
// addButtonWithTitle appends after them.
//
// Thread: main thread only.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/AlertPanel.h"
#include "platform/ui/BarButtonItem.h"

namespace platform::ui {

class ActionSheet;

// Numbers match the platform's.
enum class ActionSheetStyle : int { Automatic = -1, Default = 0, BlackTranslucent = 2, BlackOpaque = 1 };

// All optional; the defaults do nothing.
class ActionSheetDelegate {
public:
    virtual ~ActionSheetDelegate() = default;
    virtual void actionSheetClickedButtonAtIndex(ActionSheet& actionSheet, int buttonIndex);
    virtual void actionSheetWillDismissWithButtonIndex(ActionSheet& actionSheet, int buttonIndex);
    virtual void actionSheetDidDismissWithButtonIndex(ActionSheet& actionSheet, int buttonIndex);
    // Answer true when handled; the default says "not implemented".
    virtual bool actionSheetCancel(ActionSheet& actionSheet);
};

class ActionSheet : public AlertPanel {
public:
    // Where the sheet was shown from.
    enum class Origin { None, View, TabBar, BarButtonItem, Rect };

    ActionSheet(std::string title, std::weak_ptr<ActionSheetDelegate> delegate,
                std::optional<std::string> cancelButtonTitle, std::optional<std::string> destructiveButtonTitle,
                std::vector<std::string> otherButtonTitles);
    static std::shared_ptr<ActionSheet> make(std::string title, std::weak_ptr<ActionSheetDelegate> delegate,
                                             std::optional<std::string> cancelButtonTitle,
                                             std::optional<std::string> destructiveButtonTitle,
                                             std::vector<std::string> otherButtonTitles = {});

    int destructiveButtonIndex() const { return destructiveIndex_; }
    void setDestructiveButtonIndex(int index) { HC_CHECK_MAIN_THREAD(); destructiveIndex_ = index; }
    ActionSheetStyle actionSheetStyle() const { return style_; }
    void setActionSheetStyle(ActionSheetStyle style) { HC_CHECK_MAIN_THREAD(); style_ = style; }
    std::shared_ptr<ActionSheetDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<ActionSheetDelegate> delegate)
    {
        HC_CHECK_MAIN_THREAD();
        delegate_ = std::move(delegate);
    }

    void showInView(const ViewPtr& view);
    // The tab bar is a view.
    void showFromTabBar(const ViewPtr& tabBar);
    void showFromBarButtonItem(const BarButtonItemPtr& item, bool animated);
    void showFromRect(const Rect& rect, const ViewPtr& view, bool animated);

    Origin origin() const { return origin_; }
    // The view (or tab bar) shown in or from; nullptr when it has gone.
    ViewPtr originView() const { return originView_.lock(); }
    const BarButtonItemPtr& originItem() const { return originItem_; }
    const Rect& originRect() const { return originRect_; }

    // Sheets on screen, oldest first.
    static std::vector<std::shared_ptr<ActionSheet>> visibleSheets();

    std::string kindName() const override { return "ActionSheet"; }

protected:
    void notifyClicked(int index) override;
    void notifyWillDismiss(int index) override;
    void notifyDidDismiss(int index) override;
    bool notifyCancel() override;

private:
    void showFrom(Origin origin, const ViewPtr& view, const BarButtonItemPtr& item, const Rect& rect);

    std::weak_ptr<ActionSheetDelegate> delegate_;
    ActionSheetStyle style_ = ActionSheetStyle::Automatic;
    Origin origin_ = Origin::None;
    std::weak_ptr<View> originView_;
    BarButtonItemPtr originItem_;
    Rect originRect_;
};

using ActionSheetPtr = std::shared_ptr<ActionSheet>;

}  // namespace platform::ui

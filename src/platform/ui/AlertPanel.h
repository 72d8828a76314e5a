#pragma once
// What alerts and action sheets share: a title, a list of buttons with a
// cancel (and, for sheets, a destructive) index, being shown, and the way
// they go away.
//
// A person's click (clickButton) tells the delegate which button was
// clicked, then that the panel will dismiss, then, once the dismissal has
// run (kAlertDismissDuration on the clock, through the main run loop), that
// it did. Dismissing in code (dismissWithClickedButtonIndex) makes the same
// calls without the click. A shown panel is kept alive by the list of shown
// panels until it is dismissed, so its owner may let go of it after show.
//
// Thread: main thread only.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/View.h"

namespace platform::ui {

class AlertPanel : public View {
public:
    const std::string& title() const { return title_; }
    void setTitle(std::string title) { HC_CHECK_MAIN_THREAD(); title_ = std::move(title); }

    int numberOfButtons() const { return static_cast<int>(buttons_.size()); }
    // Empty for an index out of range.
    std::string buttonTitleAtIndex(int index) const;
    // Appends a button; answers its index.
    int addButtonWithTitle(std::string title);
    // -1: none.
    int cancelButtonIndex() const { return cancelIndex_; }
    void setCancelButtonIndex(int index) { HC_CHECK_MAIN_THREAD(); cancelIndex_ = index; }
    // The first button that is neither the cancel nor the destructive button; -1: none.
    int firstOtherButtonIndex() const;

    bool isVisible() const { return visible_; }
    // Dismisses without a click: the delegate hears will and did dismiss with the index.
    void dismissWithClickedButtonIndex(int index, bool animated);
    // A person clicks the button: false when the panel is not shown or has no such button.
    bool clickButton(int index);
    // The system cancels the panel (as when the application is left on older
    // systems): a delegate that handles the cancel gets only that call; for one
    // that does not, the cancel button is clicked (or, without one, the panel
    // is dismissed with index -1).
    void cancel();

    // Alerts and sheets on screen, oldest first.
    static std::vector<std::shared_ptr<AlertPanel>> shownPanels();
    // "\"Title\" [\"OK\"*, \"Delete\"!]": the cancel button marked '*', the destructive one '!'.
    std::string describe() const override;

protected:
    AlertPanel() = default;
    int destructiveIndex_ = -1;
    std::vector<std::string> buttons_;
    int cancelIndex_ = -1;

    // Puts the panel on screen; nothing when it already is.
    void present();
    virtual void notifyClicked(int index) = 0;
    virtual void notifyWillDismiss(int index) = 0;
    virtual void notifyDidDismiss(int index) = 0;
    // Answers whether the delegate handled a cancel by the system.
    virtual bool notifyCancel() = 0;

private:
    void dismiss(int index, bool animated, bool clicked);

    std::string title_;
    bool visible_ = false;
};

}  // namespace platform::ui

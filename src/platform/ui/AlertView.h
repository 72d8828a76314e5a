#pragma once
// AlertView: a title, a message and buttons, shown over everything until a
// person clicks a button or code dismisses it (see AlertPanel.h for the
// order of the delegate calls).
//
// Button order: a cancel button given at creation comes first (index 0),
// then the other buttons in the order given; addButtonWithTitle appends.
//
// Thread: main thread only.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/AlertPanel.h"

namespace platform::ui {

class AlertView;

// All optional; the defaults do nothing.
class AlertViewDelegate {
public:
    virtual ~AlertViewDelegate() = default;
    // Only when a person clicked (or the system cancelled for a delegate
    // that does not handle the cancel).
    virtual void alertViewClickedButtonAtIndex(AlertView& alertView, int buttonIndex);
    virtual void alertViewWillDismissWithButtonIndex(AlertView& alertView, int buttonIndex);
    virtual void alertViewDidDismissWithButtonIndex(AlertView& alertView, int buttonIndex);
    // Answer true when handled; the default says "not implemented".
    virtual bool alertViewCancel(AlertView& alertView);
};

class AlertView : public AlertPanel {
public:
    AlertView(std::string title, std::string message, std::weak_ptr<AlertViewDelegate> delegate,
              std::optional<std::string> cancelButtonTitle, std::vector<std::string> otherButtonTitles);
    static std::shared_ptr<AlertView> make(std::string title, std::string message,
                                           std::weak_ptr<AlertViewDelegate> delegate,
                                           std::optional<std::string> cancelButtonTitle,
                                           std::vector<std::string> otherButtonTitles = {});

    const std::string& message() const { return message_; }
    void setMessage(std::string message) { HC_CHECK_MAIN_THREAD(); message_ = std::move(message); }
    std::shared_ptr<AlertViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<AlertViewDelegate> delegate)
    {
        HC_CHECK_MAIN_THREAD();
        delegate_ = std::move(delegate);
    }

    void show() { present(); }

    // Alerts on screen, oldest first (the last one is on top).
    static std::vector<std::shared_ptr<AlertView>> visibleAlerts();

    std::string kindName() const override { return "AlertView"; }
    std::string describe() const override;

protected:
    void notifyClicked(int index) override;
    void notifyWillDismiss(int index) override;
    void notifyDidDismiss(int index) override;
    bool notifyCancel() override;

private:
    std::string message_;
    std::weak_ptr<AlertViewDelegate> delegate_;
};

using AlertViewPtr = std::shared_ptr<AlertView>;

}  // namespace platform::ui

#pragma once
// A page that tells the player one thing and leads back: a title, a
// message and a continue button. Continue pops to the controller set to pop
// to; without one it runs its continue action, or, for a page shown
// modally, dismisses it, or else pops to the root of its navigation.
//
// Thread: main thread.
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "uiframework/HCViewController.h"

class HCShowMessageAndReturnController : public HCViewController {
public:
    static constexpr const char* kContinueTitle = "Continue";

    const std::shared_ptr<platform::ui::Label>& messageLabel();
    const std::shared_ptr<platform::ui::Label>& messageTitleLabel();
    const std::shared_ptr<platform::ui::Button>& continueButton();
    // Not retained: the navigation stack holds it.
    void setControllerToPopTo(const platform::ui::ViewControllerPtr& controller) { popTo_ = controller; }
    void setContinueAction(std::function<void()> action) { continueAction_ = std::move(action); }
    void continuePressed();

    void loadView() override;
    std::string kindName() const override { return "HCShowMessageAndReturnController"; }

private:
    std::shared_ptr<platform::ui::Label> messageLabel_;
    std::shared_ptr<platform::ui::Label> messageTitleLabel_;
    std::shared_ptr<platform::ui::Button> continueButton_;
    std::weak_ptr<platform::ui::ViewController> popTo_;
    std::function<void()> continueAction_;
};

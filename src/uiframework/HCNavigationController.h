#pragma once
// The dashboard's navigation controller: the platform's, over the dashboard's
// background, which screens that bring their own (the intro flow, web
// pages) hide. Close buttons for modally shown pages are made here.
//
// Thread: main thread.
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/NavigationController.h"

class HCNavigationController : public platform::ui::NavigationController {
public:
    static constexpr const char* kCloseButtonTitle = "Close";

    static std::shared_ptr<HCNavigationController> withRootViewController(
        const platform::ui::ViewControllerPtr& root);

    // The background behind the pages; hidden for good once hideBackground
    // was asked (also before the view is loaded).
    const platform::ui::ViewPtr& backgroundView() const { return backgroundView_; }
    void hideBackground();
    bool isBackgroundHidden() const { return backgroundHidden_; }

    // Gives the controller's navigation item a "Close" button (on the left)
    // that calls `action` on `target`, while the target lives.
    template <class T>
    static void addCloseButtonToViewController(const platform::ui::ViewControllerPtr& controller,
                                               const std::shared_ptr<T>& target, void (T::*action)())
    {
        std::weak_ptr<T> weakTarget = target;
        addCloseButtonToViewController(controller, [weakTarget, action] {
            if (auto strong = weakTarget.lock()) ((*strong).*action)();
        });
    }
    static void addCloseButtonToViewController(const platform::ui::ViewControllerPtr& controller,
                                               std::function<void()> action);

    void loadView() override;
    std::string kindName() const override { return "HCNavigationController"; }

private:
    platform::ui::ViewPtr backgroundView_;
    bool backgroundHidden_ = false;
};

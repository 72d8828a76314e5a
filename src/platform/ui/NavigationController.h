#pragma once
// NavigationController: a stack of controllers of which the top one fills the
// screen below a navigation bar. Pushing and popping swap the top controller's
// view and, while the navigation controller is on screen, run the appearance
// calls in the platform's order:
//   outgoing viewWillDisappear, incoming viewWillAppear, delegate willShow,
//   [kTransitionDuration when animated]
//   outgoing viewDidDisappear, incoming viewDidAppear, delegate didShow.
// Off screen (a hidden tab, a controller not yet presented) the stack changes
// at once and no appearance call is made; the top controller hears of its
// appearance when the navigation controller appears.
//
// Every change is kept in history() with its kind and animated flag, so
// callers can check how the stack moved.
//
// Thread: main thread only.
#include <memory>
#include <vector>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/ViewController.h"

namespace platform::ui {

class NavigationController;

// Both calls are optional; the defaults do nothing.
class NavigationControllerDelegate {
public:
    virtual ~NavigationControllerDelegate() = default;
    virtual void willShowViewController(NavigationController& navigationController, const ViewControllerPtr& controller,
                                        bool animated);
    virtual void didShowViewController(NavigationController& navigationController, const ViewControllerPtr& controller,
                                       bool animated);
};

class NavigationController : public ViewController {
public:
    static constexpr double kToolbarHeight = 44;

    struct Change {
        enum class Kind { Push, Pop, PopToController, PopToRoot, SetControllers };
        // No controller is recorded: a record that kept one would keep every
        // page ever pushed alive for as long as the stack lives.
        Kind kind;
        bool animated;
    };

    NavigationController() = default;
    static std::shared_ptr<NavigationController> withRootViewController(const ViewControllerPtr& root);
    // Puts `root` on an empty stack (for navigation controllers made by name).
    void initWithRootViewController(const ViewControllerPtr& root);

    // A controller already on this stack or inside another container is
    // refused with a programming error.
    void pushViewController(const ViewControllerPtr& controller, bool animated);
    // nullptr when only the root is left.
    ViewControllerPtr popViewController(bool animated);
    // The popped controllers, bottom first; empty (and a programming error)
    // when `controller` is not on the stack.
    std::vector<ViewControllerPtr> popToViewController(const ViewControllerPtr& controller, bool animated);
    std::vector<ViewControllerPtr> popToRootViewController(bool animated);
    const std::vector<ViewControllerPtr>& viewControllers() const { return stack_; }
    void setViewControllers(std::vector<ViewControllerPtr> controllers, bool animated);

    ViewControllerPtr topViewController() const;
    // A modal shown over the navigation controller, else the top controller.
    ViewControllerPtr visibleViewController() const;
    // The controller just below `controller` on the stack; nullptr when it is
    // the first or not on the stack.
    ViewControllerPtr previousViewController(const ViewControllerPtr& controller) const;
    const std::vector<Change>& history() const { return history_; }

    const std::shared_ptr<NavigationBar>& navigationBar() const { return navigationBar_; }
    bool isNavigationBarHidden() const { return navigationBarHidden_; }
    void setNavigationBarHidden(bool hidden, bool animated);
    // The toolbar starts hidden, as on the platform.
    bool isToolbarHidden() const { return toolbarHidden_; }
    void setToolbarHidden(bool hidden, bool animated);

    std::weak_ptr<NavigationControllerDelegate> delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<NavigationControllerDelegate> delegate)
    {
        HC_CHECK_MAIN_THREAD();
        delegate_ = std::move(delegate);
    }

    void loadView() override;
    std::string kindName() const override { return "NavigationController"; }
    // The top controller decides.
    bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation) override;

protected:
    std::vector<ViewControllerPtr> childrenForAppearance() const override;

private:
    void changeStack(std::vector<ViewControllerPtr> stack, Change change);
    Rect contentFrame() const;
    void layoutContent();
    void showTopView(const ViewControllerPtr& top);

    std::vector<ViewControllerPtr> stack_;
    std::shared_ptr<NavigationBar> navigationBar_ = std::make_shared<NavigationBar>();
    bool navigationBarHidden_ = false;
    bool toolbarHidden_ = true;
    std::weak_ptr<NavigationControllerDelegate> delegate_;
    std::vector<Change> history_;
};

}  // namespace platform::ui

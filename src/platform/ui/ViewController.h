#pragma once
// ViewController: one screen's worth of UI. It owns a lazily made view,
// hears when that view appears and disappears, carries the items that bars
// show for it, and presents other controllers modally.
//
// Appearance. Every controller keeps an appearance state (disappeared,
// appearing, appeared, disappearing). beginAppearanceTransition and
// endAppearanceTransition move it and call the hooks viewWillAppear,
// viewDidAppear, viewWillDisappear and viewDidDisappear exactly once per
// change, then pass the same call to the children a container shows
// (childrenForAppearance). Containers in this library call them for pushes,
// pops, tab switches, modal presentation and popovers; code that puts a
// controller's view on screen by hand calls them itself, as it would call the
// hooks on the platform. A screen change first finishes every transition that
// is still running, so each "will" is answered by its "did" before the next
// change; an animated change ends kTransitionDuration seconds later on
// platform::Clock, through the main run loop.
//
// Modal presentation goes to the outermost container of the presenting
// controller (or, when that already shows a modal, to the top of the modal
// chain). The presenter's view leaves the window once the modal covers it
// and comes back when the modal is dismissed.
//
// Touches its view does not handle come to the controller (Touch.h), and pass
// on to the view's superview from here.
//
// Thread: main thread only.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/Object.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/View.h"

namespace platform::ui {

class NavigationController;
class TabBarController;
class Autorotation;

// Numbers match the platform's.
enum class ModalPresentationStyle : int { FullScreen = 0, PageSheet = 1, FormSheet = 2, CurrentContext = 3 };
enum class ModalTransitionStyle : int { CoverVertical = 0, FlipHorizontal = 1, CrossDissolve = 2, PartialCurl = 3 };

enum class AppearanceState { Disappeared, Appearing, Appeared, Disappearing };

class ViewController;
using ViewControllerPtr = std::shared_ptr<ViewController>;

class ViewController : public Object, public TouchResponder, public AwakeFromNib {
public:
    explicit ViewController(std::string nibName = {});
    ~ViewController() override;

    // --- the view ---------------------------------------------------------
    const std::string& nibName() const { return nibName_; }
    // For controllers made by a class factory and then given the nib their
    // view comes from; only takes effect while the view is not loaded.
    void setNibName(std::string nibName) { HC_CHECK_MAIN_THREAD(); nibName_ = std::move(nibName); }
    // Loads the view on first use (loadView, then viewDidLoad).
    ViewPtr view();
    bool isViewLoaded() const { return view_ != nullptr; }
    // The view when it is loaded, else nullptr (never loads).
    const ViewPtr& viewIfLoaded() const { return view_; }
    // Sets the view without viewDidLoad; nullptr drops it without viewDidUnload.
    void setView(ViewPtr view);
    // The nib named nibName(), with this controller as owner: its builder sets
    // the view, else the first top-level view becomes it. Without a nib (or when
    // the nib yields no view), a plain view of the main screen's application frame.
    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewDidUnload() {}
    // Drops the view (then viewDidUnload) when it is loaded, the controller is
    // not on screen and the view is in no window.
    virtual void didReceiveMemoryWarning();
    // Sends didReceiveMemoryWarning to every living controller, oldest first.
    static void broadcastMemoryWarning();
    // The superview of the view.
    std::shared_ptr<TouchResponder> nextTouchResponder() const override;

    // --- appearance -------------------------------------------------------
    virtual void viewWillAppear(bool animated) { (void)animated; }
    virtual void viewDidAppear(bool animated) { (void)animated; }
    virtual void viewWillDisappear(bool animated) { (void)animated; }
    virtual void viewDidDisappear(bool animated) { (void)animated; }
    // Appearing loads the view first. A call that would not change the state
    // (appearing while appeared, say) calls no hook but still reaches the children.
    void beginAppearanceTransition(bool appearing, bool animated);
    void endAppearanceTransition();
    AppearanceState appearanceState() const { return appearance_; }
    // Appearing or appeared.
    bool isVisible() const;
    // Living controllers that are appearing or appeared, oldest first.
    static std::vector<ViewControllerPtr> visibleControllers();

    // --- title and bar items ------------------------------------------------
    const std::string& title() const { return title_; }
    // Also the title of the navigation item and of the tab bar item.
    void setTitle(std::string title);
    const NavigationItemPtr& navigationItem();
    const TabBarItemPtr& tabBarItem();
    void setTabBarItem(TabBarItemPtr item) { HC_CHECK_MAIN_THREAD(); tabBarItem_ = std::move(item); }
    bool hidesBottomBarWhenPushed() const { return hidesBottomBarWhenPushed_; }
    void setHidesBottomBarWhenPushed(bool hides) { HC_CHECK_MAIN_THREAD(); hidesBottomBarWhenPushed_ = hides; }
    Size contentSizeForViewInPopover() const { return contentSizeForViewInPopover_; }
    void setContentSizeForViewInPopover(Size size) { HC_CHECK_MAIN_THREAD(); contentSizeForViewInPopover_ = size; }
    // A short class-like name for screen dumps.
    virtual std::string kindName() const { return "ViewController"; }

    // --- family -------------------------------------------------------------
    // The container, else (for a modal) the presenting controller.
    ViewControllerPtr parentViewController() const;
    // The controller that presented this one, or nullptr when it is no modal.
    ViewControllerPtr presentingViewController() const { return presenter_.lock(); }
    // The nearest navigation or tab bar controller among the containers above.
    std::shared_ptr<NavigationController> navigationController() const;
    std::shared_ptr<TabBarController> tabBarController() const;
    // The modal shown over this controller or over its outermost container.
    ViewControllerPtr modalViewController() const;
    // True when a tab bar controller above holds this controller in a tab
    // that is not selected.
    bool isInHiddenTab() const;

    // --- modal presentation ---------------------------------------------------
    void presentModalViewController(const ViewControllerPtr& controller, bool animated);
    // Dismisses the modal shown over this controller (and any modals above it);
    // called on a modal (or a controller inside one), dismisses that modal.
    void dismissModalViewController(bool animated);
    ModalPresentationStyle modalPresentationStyle() const { return presentationStyle_; }
    void setModalPresentationStyle(ModalPresentationStyle style) { HC_CHECK_MAIN_THREAD(); presentationStyle_ = style; }
    ModalTransitionStyle modalTransitionStyle() const { return transitionStyle_; }
    void setModalTransitionStyle(ModalTransitionStyle style) { HC_CHECK_MAIN_THREAD(); transitionStyle_ = style; }
    // Whether this controller's last modal presentation was animated.
    bool wasPresentedAnimated() const { return presentedAnimated_; }

    // --- rotation -------------------------------------------------------------
    // The orientation last rotated to, else the status bar's.
    InterfaceOrientation interfaceOrientation() const;
    // The base allows portrait only, as on the platform.
    virtual bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation);
    virtual void willRotateToInterfaceOrientation(InterfaceOrientation orientation, double duration)
    {
        (void)orientation;
        (void)duration;
    }
    virtual void didRotateFromInterfaceOrientation(InterfaceOrientation from) { (void)from; }

protected:
    // Containers answer the children whose appearance follows their own.
    virtual std::vector<ViewControllerPtr> childrenForAppearance() const { return {}; }
    // Makes `child` a contained child (its parentViewController is this). A
    // child that already has a parent or a presenter, or that is this
    // controller or one of its ancestors, is refused with a programming error.
    bool adoptChild(const ViewControllerPtr& child);
    void releaseChild(const ViewControllerPtr& child);
    // Runs `completion` at once or, when animated, once kTransitionDuration has
    // passed on the clock. Call Transitions::finishAll() before reading the
    // states that the change depends on.
    static void runTransition(bool animated, std::function<void()> completion);

private:
    friend class Autorotation;

    ViewControllerPtr outermostContainer();
    // Makes the view pass its unhandled touches to this controller.
    void bindView();
    // Takes this controller's view out of its superview while a modal covers
    // it, and puts it back in the same place (loading it again when a memory
    // warning unloaded it meanwhile).
    void coverView();
    void uncoverView();

    std::string nibName_;
    ViewPtr view_;
    std::string title_;
    NavigationItemPtr navigationItem_;
    TabBarItemPtr tabBarItem_;
    bool hidesBottomBarWhenPushed_ = false;
    Size contentSizeForViewInPopover_{320, 1100};

    AppearanceState appearance_ = AppearanceState::Disappeared;
    bool appearanceAnimated_ = false;

    std::weak_ptr<ViewController> container_;
    std::weak_ptr<ViewController> presenter_;
    ViewControllerPtr modal_;
    ModalPresentationStyle presentationStyle_ = ModalPresentationStyle::FullScreen;
    ModalTransitionStyle transitionStyle_ = ModalTransitionStyle::CoverVertical;
    bool presentedAnimated_ = false;
    // Where the presenter's view sat while a modal covers it, and its
    // geometry, for a view that a memory warning unloads meanwhile.
    std::weak_ptr<View> coveredViewSuperview_;
    size_t coveredViewIndex_ = 0;
    Point coveredViewCenter_;
    Rect coveredViewBounds_;
    AffineTransform coveredViewTransform_;

    std::optional<InterfaceOrientation> orientation_;
};

}  // namespace platform::ui

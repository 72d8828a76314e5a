#include "platform/ui/NavigationController.h"

#include <algorithm>

#include "platform/foundation/ProgrammingError.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/Transitions.h"

namespace platform::ui {
namespace {

bool contains(const std::vector<ViewControllerPtr>& list, const ViewControllerPtr& vc)
{
    return std::find(list.begin(), list.end(), vc) != list.end();
}

}  // namespace

void NavigationControllerDelegate::willShowViewController(NavigationController&, const ViewControllerPtr&, bool) {}
void NavigationControllerDelegate::didShowViewController(NavigationController&, const ViewControllerPtr&, bool) {}

std::shared_ptr<NavigationController> NavigationController::withRootViewController(const ViewControllerPtr& root)
{
    auto nav = std::make_shared<NavigationController>();
    nav->initWithRootViewController(root);
    return nav;
}

void NavigationController::initWithRootViewController(const ViewControllerPtr& root)
{
    if (!root) return;
    setViewControllers({root}, false);
}

void NavigationController::pushViewController(const ViewControllerPtr& controller, bool animated)
{
    if (!controller) return;
    Transitions::finishAll();
    if (contains(stack_, controller)) {
        reportProgrammingError("Pushing the same view controller instance more than once is not supported");
        return;
    }
    if (controller->parentViewController()) {
        reportProgrammingError("a " + controller->kindName() + " that already has a parent cannot be pushed");
        return;
    }
    auto stack = stack_;
    stack.push_back(controller);
    changeStack(std::move(stack), Change{Change::Kind::Push, animated});
}

ViewControllerPtr NavigationController::popViewController(bool animated)
{
    Transitions::finishAll();
    if (stack_.size() < 2) return nullptr;
    auto popped = stack_.back();
    std::vector<ViewControllerPtr> stack(stack_.begin(), stack_.end() - 1);
    changeStack(std::move(stack), Change{Change::Kind::Pop, animated});
    return popped;
}

std::vector<ViewControllerPtr> NavigationController::popToViewController(const ViewControllerPtr& controller,
                                                                          bool animated)
{
    Transitions::finishAll();
    auto it = std::find(stack_.begin(), stack_.end(), controller);
    if (!controller || it == stack_.end()) {
        reportProgrammingError("Tried to pop to a view controller that is not on the navigation stack");
        return {};
    }
    std::vector<ViewControllerPtr> popped(it + 1, stack_.end());
    if (popped.empty()) return {};
    std::vector<ViewControllerPtr> stack(stack_.begin(), it + 1);
    changeStack(std::move(stack), Change{Change::Kind::PopToController, animated});
    return popped;
}

std::vector<ViewControllerPtr> NavigationController::popToRootViewController(bool animated)
{
    Transitions::finishAll();
    if (stack_.size() < 2) return {};
    std::vector<ViewControllerPtr> popped(stack_.begin() + 1, stack_.end());
    auto root = stack_.front();
    changeStack({root}, Change{Change::Kind::PopToRoot, animated});
    return popped;
}

void NavigationController::setViewControllers(std::vector<ViewControllerPtr> controllers, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    Transitions::finishAll();
    std::erase(controllers, nullptr);
    for (size_t i = 0; i < controllers.size(); ++i) {
        const auto& vc = controllers[i];
        bool duplicate = std::find(controllers.begin(), controllers.begin() + static_cast<long>(i), vc) !=
                         controllers.begin() + static_cast<long>(i);
        if (duplicate || (!contains(stack_, vc) && vc->parentViewController())) {
            reportProgrammingError("a " + vc->kindName() +
                                   " that is listed twice or already has a parent cannot join a navigation stack");
            return;
        }
    }
    changeStack(std::move(controllers), Change{Change::Kind::SetControllers, animated});
}

ViewControllerPtr NavigationController::topViewController() const
{
    return stack_.empty() ? nullptr : stack_.back();
}

ViewControllerPtr NavigationController::visibleViewController() const
{
    if (auto modal = modalViewController()) return modal;
    return topViewController();
}

ViewControllerPtr NavigationController::previousViewController(const ViewControllerPtr& controller) const
{
    auto it = std::find(stack_.begin(), stack_.end(), controller);
    if (!controller || it == stack_.end() || it == stack_.begin()) return nullptr;
    return *(it - 1);
}

void NavigationController::setNavigationBarHidden(bool hidden, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    (void)animated;
    navigationBarHidden_ = hidden;
    navigationBar_->setHidden(hidden);
    if (isViewLoaded()) layoutContent();
}

void NavigationController::setToolbarHidden(bool hidden, bool animated)
{
    HC_CHECK_MAIN_THREAD();
    (void)animated;
    toolbarHidden_ = hidden;
    if (isViewLoaded()) layoutContent();
}

void NavigationController::loadView()
{
    auto container = View::make(Screen::mainScreen()->applicationFrame());
    container->setAutoresizesSubviews(true);
    setView(container);
    container->addSubview(navigationBar_);
    layoutContent();
    if (auto top = topViewController()) showTopView(top);
}

bool NavigationController::shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation)
{
    auto top = topViewController();
    return top ? top->shouldAutorotateToInterfaceOrientation(orientation)
               : ViewController::shouldAutorotateToInterfaceOrientation(orientation);
}

std::vector<ViewControllerPtr> NavigationController::childrenForAppearance() const
{
    if (auto top = topViewController()) return {top};
    return {};
}

Rect NavigationController::contentFrame() const
{
    Rect bounds = isViewLoaded() ? viewIfLoaded()->bounds() : Rect();
    double top = navigationBarHidden_ ? 0 : NavigationBar::kHeight;
    double bottom = toolbarHidden_ ? 0 : kToolbarHeight;
    return Rect(0, top, bounds.width(), std::max(0.0, bounds.height() - top - bottom));
}

void NavigationController::layoutContent()
{
    auto container = view();
    navigationBar_->setFrame(Rect(0, 0, container->bounds().width(), NavigationBar::kHeight));
    navigationBar_->setHidden(navigationBarHidden_);
    auto top = topViewController();
    if (top && top->isViewLoaded() && top->viewIfLoaded()->superview() == container)
        top->viewIfLoaded()->setFrame(contentFrame());
}

void NavigationController::showTopView(const ViewControllerPtr& top)
{
    auto container = view();
    auto topView = top->view();
    topView->setFrame(contentFrame());
    topView->setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleHeight);
    if (topView->superview() != container) container->insertSubviewBelow(topView, navigationBar_);
}

void NavigationController::changeStack(std::vector<ViewControllerPtr> stack, Change change)
{
    auto oldTop = topViewController();
    for (const auto& vc : stack_)
        if (!contains(stack, vc)) releaseChild(vc);
    for (const auto& vc : stack)
        if (!contains(stack_, vc)) adoptChild(vc);
    stack_ = std::move(stack);
    history_.push_back(change);

    std::weak_ptr<NavigationController> weakSelf = std::static_pointer_cast<NavigationController>(shared_from_this());
    navigationBar_->setBackHandler([weakSelf] {
        if (auto self = weakSelf.lock()) self->popViewController(true);
    });
    std::vector<NavigationItemPtr> items;
    for (const auto& vc : stack_) items.push_back(vc->navigationItem());
    navigationBar_->setItems(std::move(items), change.animated);
    if (auto tabs = tabBarController()) tabs->updateTabBarVisibility();

    auto newTop = topViewController();
    if (newTop == oldTop) return;
    // Off screen nothing slides: the change is complete at once.
    bool visible = isVisible();
    bool animated = change.animated && visible;
    if (isViewLoaded() && newTop) showTopView(newTop);
    if (visible) {
        if (oldTop) oldTop->beginAppearanceTransition(false, animated);
        if (newTop) newTop->beginAppearanceTransition(true, animated);
        if (auto d = delegate_.lock(); d && newTop) d->willShowViewController(*this, newTop, animated);
    }
    auto self = weakSelf.lock();
    runTransition(animated, [self, oldTop, newTop, visible, animated] {
        if (visible) {
            if (oldTop) oldTop->endAppearanceTransition();
            if (newTop) newTop->endAppearanceTransition();
            if (auto d = self->delegate_.lock(); d && newTop) d->didShowViewController(*self, newTop, animated);
        }
        ViewPtr oldView = oldTop ? oldTop->viewIfLoaded() : nullptr;
        if (oldView && oldTop != self->topViewController() && self->isViewLoaded() &&
            oldView->superview() == self->viewIfLoaded())
            oldView->removeFromSuperview();
    });
}

}  // namespace platform::ui

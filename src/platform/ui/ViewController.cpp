#include "platform/ui/ViewController.h"

#include <algorithm>

#include "platform/foundation/ProgrammingError.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/Transitions.h"
#include "platform/runtime/ThreadChecker.h"

namespace platform::ui {
namespace {

// Every living controller, oldest first (main thread only: the constructor
// and destructor check it, as nothing else guards the list). Never destroyed:
// controllers held by other statics may end after it would.
std::vector<ViewController*>& livingControllers()
{
    static auto* list = new std::vector<ViewController*>();
    return *list;
}

std::vector<ViewControllerPtr> lockLiving()
{
    std::vector<ViewControllerPtr> result;
    for (ViewController* vc : livingControllers())
        if (auto strong = std::static_pointer_cast<ViewController>(vc->weak_from_this().lock())) result.push_back(strong);
    return result;
}

}  // namespace

ViewController::ViewController(std::string nibName) : nibName_(std::move(nibName))
{
    HC_CHECK_MAIN_THREAD();
    livingControllers().push_back(this);
}

ViewController::~ViewController()
{
    HC_CHECK_MAIN_THREAD();
    std::erase(livingControllers(), this);
}

// --- the view -------------------------------------------------------------

ViewPtr ViewController::view()
{
    HC_CHECK_MAIN_THREAD();
    if (!view_) {
        loadView();
        if (!view_) {
            reportProgrammingError("loadView of a " + kindName() + " did not set a view");
            view_ = View::make(Screen::mainScreen()->applicationFrame());
        }
        bindView();
        viewDidLoad();
    }
    return view_;
}

void ViewController::setView(ViewPtr view)
{
    HC_CHECK_MAIN_THREAD();
    if (view_ && view_ != view) view_->viewController_.reset();
    view_ = std::move(view);
    bindView();
}

void ViewController::bindView()
{
    if (!view_) return;
    if (auto me = std::static_pointer_cast<ViewController>(weak_from_this().lock())) view_->viewController_ = me;
}

std::shared_ptr<TouchResponder> ViewController::nextTouchResponder() const
{
    return view_ ? view_->superview() : nullptr;
}

void ViewController::loadView()
{
    if (!nibName_.empty() && NibRegistry::exists(nibName_)) {
        auto objects = NibRegistry::loadNibNamed(nibName_, weak_from_this().lock());
        if (!view_ && objects) {
            for (const auto& object : objects->items()) {
                if (auto v = std::dynamic_pointer_cast<View>(object)) {
                    view_ = v;
                    break;
                }
            }
        }
    }
    if (!view_) view_ = View::make(Screen::mainScreen()->applicationFrame());
}

void ViewController::didReceiveMemoryWarning()
{
    if (!view_ || isVisible() || view_->superview()) return;
    view_.reset();
    viewDidUnload();
}

void ViewController::broadcastMemoryWarning()
{
    for (const auto& vc : lockLiving()) vc->didReceiveMemoryWarning();
}

// --- appearance -------------------------------------------------------------

void ViewController::beginAppearanceTransition(bool appearing, bool animated)
{
    if (appearing) {
        view();
        if (appearance_ == AppearanceState::Disappeared || appearance_ == AppearanceState::Disappearing) {
            appearance_ = AppearanceState::Appearing;
            appearanceAnimated_ = animated;
            orientation_.reset();
            viewWillAppear(animated);
        }
    } else if (appearance_ == AppearanceState::Appeared || appearance_ == AppearanceState::Appearing) {
        appearance_ = AppearanceState::Disappearing;
        appearanceAnimated_ = animated;
        viewWillDisappear(animated);
    }
    for (const auto& child : childrenForAppearance())
        if (child) child->beginAppearanceTransition(appearing, animated);
}

void ViewController::endAppearanceTransition()
{
    if (appearance_ == AppearanceState::Appearing) {
        appearance_ = AppearanceState::Appeared;
        viewDidAppear(appearanceAnimated_);
    } else if (appearance_ == AppearanceState::Disappearing) {
        appearance_ = AppearanceState::Disappeared;
        viewDidDisappear(appearanceAnimated_);
    }
    for (const auto& child : childrenForAppearance())
        if (child) child->endAppearanceTransition();
}

bool ViewController::isVisible() const
{
    return appearance_ == AppearanceState::Appearing || appearance_ == AppearanceState::Appeared;
}

std::vector<ViewControllerPtr> ViewController::visibleControllers()
{
    auto all = lockLiving();
    std::erase_if(all, [](const ViewControllerPtr& vc) { return !vc->isVisible(); });
    return all;
}

// --- title and items ----------------------------------------------------------

void ViewController::setTitle(std::string title)
{
    HC_CHECK_MAIN_THREAD();
    title_ = std::move(title);
    navigationItem()->setTitle(title_);
    if (tabBarItem_) tabBarItem_->setTitle(title_);
}

const NavigationItemPtr& ViewController::navigationItem()
{
    if (!navigationItem_) navigationItem_ = std::make_shared<NavigationItem>(title_);
    return navigationItem_;
}

const TabBarItemPtr& ViewController::tabBarItem()
{
    if (!tabBarItem_) tabBarItem_ = std::make_shared<TabBarItem>(title_, nullptr, 0);
    return tabBarItem_;
}

// --- family ---------------------------------------------------------------------

ViewControllerPtr ViewController::parentViewController() const
{
    if (auto container = container_.lock()) return container;
    return presenter_.lock();
}

std::shared_ptr<NavigationController> ViewController::navigationController() const
{
    for (auto p = container_.lock(); p; p = p->container_.lock())
        if (auto nav = std::dynamic_pointer_cast<NavigationController>(p)) return nav;
    return nullptr;
}

std::shared_ptr<TabBarController> ViewController::tabBarController() const
{
    for (auto p = container_.lock(); p; p = p->container_.lock())
        if (auto tabs = std::dynamic_pointer_cast<TabBarController>(p)) return tabs;
    return nullptr;
}

ViewControllerPtr ViewController::modalViewController() const
{
    if (modal_) return modal_;
    auto container = container_.lock();
    return container ? container->modalViewController() : nullptr;
}

bool ViewController::isInHiddenTab() const
{
    const ViewController* child = this;
    for (auto p = container_.lock(); p; p = p->container_.lock()) {
        if (auto tabs = std::dynamic_pointer_cast<TabBarController>(p))
            if (tabs->selectedViewController().get() != child) return true;
        child = p.get();
    }
    return false;
}

ViewControllerPtr ViewController::outermostContainer()
{
    auto top = std::static_pointer_cast<ViewController>(shared_from_this());
    while (auto up = top->container_.lock()) top = up;
    return top;
}

bool ViewController::adoptChild(const ViewControllerPtr& child)
{
    if (!child) return false;
    if (child.get() == this || !child->container_.expired() || !child->presenter_.expired()) {
        reportProgrammingError("a " + child->kindName() + " that already has a parent cannot be added to a " +
                               kindName());
        return false;
    }
    for (auto p = container_.lock(); p; p = p->container_.lock()) {
        if (p == child) {
            reportProgrammingError("a " + kindName() + " cannot contain its own ancestor");
            return false;
        }
    }
    child->container_ = std::static_pointer_cast<ViewController>(shared_from_this());
    return true;
}

void ViewController::releaseChild(const ViewControllerPtr& child)
{
    if (child && child->container_.lock().get() == this) child->container_.reset();
}

void ViewController::runTransition(bool animated, std::function<void()> completion)
{
    if (animated)
        Transitions::schedule(kTransitionDuration, std::move(completion));
    else
        completion();
}

// --- modal presentation -----------------------------------------------------------

void ViewController::coverView()
{
    if (!view_) return;
    auto superview = view_->superview();
    if (!superview) return;
    const auto& siblings = superview->subviews();
    coveredViewIndex_ = static_cast<size_t>(std::find(siblings.begin(), siblings.end(), view_) - siblings.begin());
    coveredViewSuperview_ = superview;
    coveredViewCenter_ = view_->center();
    coveredViewBounds_ = view_->bounds();
    coveredViewTransform_ = view_->transform();
    view_->removeFromSuperview();
}

void ViewController::uncoverView()
{
    auto superview = coveredViewSuperview_.lock();
    coveredViewSuperview_.reset();
    if (!superview) return;
    if (!view_) {
        view();
        view_->setTransform(coveredViewTransform_);
        view_->setBounds(coveredViewBounds_);
        view_->setCenter(coveredViewCenter_);
    }
    if (!view_->superview()) superview->insertSubview(view_, coveredViewIndex_);
}

void ViewController::presentModalViewController(const ViewControllerPtr& controller, bool animated)
{
    if (!controller) return;
    Transitions::finishAll();
    auto host = outermostContainer();
    while (host->modal_) host = host->modal_;
    if (controller == host || controller->modal_ || !controller->container_.expired() ||
        !controller->presenter_.expired()) {
        reportProgrammingError("a " + controller->kindName() + " that is already shown cannot be presented");
        return;
    }
    host->modal_ = controller;
    controller->presenter_ = host;
    controller->presentedAnimated_ = animated;

    // The modal takes the presenter's place and space; on screen when the presenter is.
    auto hostView = host->view_;
    if (hostView && hostView->superview()) {
        auto modalView = controller->view();
        modalView->setTransform(hostView->transform());
        modalView->setBounds(Rect(Point(), hostView->bounds().size));
        modalView->setCenter(hostView->center());
        hostView->superview()->insertSubviewAbove(modalView, hostView);
    }
    bool visible = host->isVisible();
    if (visible) {
        host->beginAppearanceTransition(false, animated);
        controller->beginAppearanceTransition(true, animated);
    }
    runTransition(animated, [host, controller, visible] {
        if (visible) {
            host->endAppearanceTransition();
            controller->endAppearanceTransition();
        }
        if (host->modal_ == controller) host->coverView();
    });
}

void ViewController::dismissModalViewController(bool animated)
{
    Transitions::finishAll();
    auto host = outermostContainer();
    ViewControllerPtr target;
    if (host->modal_)
        target = host;
    else if (auto presenter = host->presenter_.lock())
        target = presenter;
    if (!target) return;

    std::vector<ViewControllerPtr> chain;
    for (auto m = target->modal_; m; m = m->modal_) chain.push_back(m);
    auto top = chain.back();
    bool visible = top->isVisible();

    target->modal_ = nullptr;
    for (const auto& m : chain) {
        m->modal_ = nullptr;
        m->presenter_.reset();
        // Modals below the top stay off screen: they go with it.
        m->coveredViewSuperview_.reset();
    }
    target->uncoverView();

    if (visible) {
        top->beginAppearanceTransition(false, animated);
        target->beginAppearanceTransition(true, animated);
    }
    runTransition(animated, [target, top, chain, visible] {
        if (visible) {
            top->endAppearanceTransition();
            target->endAppearanceTransition();
        }
        for (const auto& m : chain)
            if (m->view_ && !m->modal_ && m->presenter_.expired()) m->view_->removeFromSuperview();
    });
}

// --- rotation ---------------------------------------------------------------------

InterfaceOrientation ViewController::interfaceOrientation() const
{
    return orientation_ ? *orientation_ : Application::shared()->statusBarOrientation();
}

bool ViewController::shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation)
{
    return orientation == InterfaceOrientation::Portrait;
}

}  // namespace platform::ui

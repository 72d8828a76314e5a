#include "platform/ui/Autorotation.h"

#include "platform/ui/Screen.h"
#include "platform/ui/Transitions.h"

namespace platform::ui {
namespace {

AffineTransform transformFor(InterfaceOrientation orientation)
{
    switch (orientation) {
    case InterfaceOrientation::Portrait: return AffineTransform::identity();
    case InterfaceOrientation::PortraitUpsideDown: return AffineTransform::quarterTurns(2);
    case InterfaceOrientation::LandscapeRight: return AffineTransform::quarterTurns(1);
    case InterfaceOrientation::LandscapeLeft: return AffineTransform::quarterTurns(-1);
    }
    return AffineTransform::identity();
}

}  // namespace

ViewControllerPtr Autorotation::rootControllerOf(const std::shared_ptr<Window>& window)
{
    if (!window) return nullptr;
    if (auto root = std::dynamic_pointer_cast<ViewController>(window->rootViewController())) return root;
    if (window->subviews().empty()) return nullptr;
    const auto& first = window->subviews().front();
    for (const auto& vc : ViewController::visibleControllers())
        if (vc->viewIfLoaded() == first) return vc;
    return nullptr;
}

bool Autorotation::rotateInterface(InterfaceOrientation orientation)
{
    auto app = Application::shared();
    const InterfaceOrientation from = app->statusBarOrientation();
    if (orientation == from) return false;
    auto window = app->keyWindow();
    auto root = rootControllerOf(window);
    if (!root || !root->isVisible()) return false;

    std::vector<ViewControllerPtr> turning{root};
    for (auto m = root->modal_; m; m = m->modal_) turning.push_back(m);
    if (!turning.back()->shouldAutorotateToInterfaceOrientation(orientation)) return false;
    Transitions::finishAll();

    std::vector<ViewControllerPtr> hearing;
    std::vector<ViewControllerPtr> pending(turning.rbegin(), turning.rend());
    while (!pending.empty()) {
        auto vc = pending.back();
        pending.pop_back();
        if (!vc->isVisible()) continue;
        hearing.push_back(vc);
        auto children = vc->childrenForAppearance();
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }

    const bool halfTurn = isLandscape(orientation) == isLandscape(from);
    const double duration = kQuarterTurnDuration * (halfTurn ? 2 : 1);
    for (const auto& vc : hearing) vc->willRotateToInterfaceOrientation(orientation, duration);
    app->setStatusBarOrientation(orientation, true);
    for (const auto& vc : hearing) vc->orientation_ = orientation;

    const Rect frame = Screen::mainScreen()->applicationFrame();
    const bool landscape = isLandscape(orientation);
    for (const auto& vc : turning) {
        const auto& view = vc->viewIfLoaded();
        if (!view || view->superview() != window) continue;
        view->setTransform(transformFor(orientation));
        view->setBounds(Rect(0, 0, landscape ? frame.height() : frame.width(),
                             landscape ? frame.width() : frame.height()));
        view->setCenter(frame.center());
    }
    Transitions::schedule(duration, [hearing, from] {
        for (const auto& vc : hearing) vc->didRotateFromInterfaceOrientation(from);
    });
    return true;
}

}  // namespace platform::ui

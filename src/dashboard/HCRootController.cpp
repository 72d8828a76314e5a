#include "dashboard/HCRootController.h"

#include "core/halcyon/Halcyon.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/runtime/ClassRegistry.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Layer.h"
#include "platform/ui/Screen.h"

namespace {
const bool rootControllerRegistered = (platform::registerClass<HCRootController>("HCRootController"), true);
}  // namespace

// Reports the end of one transition; a transition that a later one replaced
// reports nothing, so each show or hide ends exactly once.
class HCRootController::TransitionEnd final : public platform::ui::AnimationDelegate {
public:
    TransitionEnd(std::weak_ptr<HCRootController> root, bool hiding, unsigned generation)
        : root_(std::move(root)), hiding_(hiding), generation_(generation)
    {
    }
    void animationDidStop(const std::shared_ptr<platform::ui::Animation>&, bool finished) override
    {
        auto root = root_.lock();
        if (root && root->generation_ == generation_) {
            root->transitionEnded(hiding_, finished);
        }
    }

private:
    std::weak_ptr<HCRootController> root_;
    bool hiding_;
    unsigned generation_;
};

HCRootController::HCRootController() = default;

void HCRootController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    auto root = platform::ui::View::make(platform::ui::Screen::mainScreen()->bounds());
    root->setAutoresizesSubviews(true);
    bgDropShadow_ = platform::ui::View::make(Halcyon::getDashboardBounds().insetBy(-3, -3));
    bgDropShadow_->setBackgroundColor(platform::ui::Color::withWhite(0, 0.5));
    root->addSubview(bgDropShadow_);
    setView(root);
}

std::vector<platform::ui::ViewControllerPtr> HCRootController::childrenForAppearance() const
{
    if (content_ && contentShown_) {
        return {content_};
    }
    return {};
}

void HCRootController::showController(const platform::ui::ViewControllerPtr& controller)
{
    HC_CHECK_MAIN_THREAD();
    if (!controller) {
        return;
    }
    if (content_ && content_ != controller) {
        cleanupSubviews();
    }
    content_ = controller;
    contentShown_ = true;
    view()->addSubview(controller->view());
    controller->beginAppearanceTransition(true, true);
    runTransition(transitionIn_, false);
}

void HCRootController::hideController()
{
    HC_CHECK_MAIN_THREAD();
    if (content_ && contentShown_) {
        // An appearance still sliding in is finished before the content goes.
        if (content_->appearanceState() == platform::ui::AppearanceState::Appearing) {
            content_->endAppearanceTransition();
        }
        content_->beginAppearanceTransition(false, true);
        if (auto contentView = content_->viewIfLoaded()) {
            contentView->removeFromSuperview();
        }
        contentShown_ = false;
    }
    runTransition(transitionOut_, true);
}

void HCRootController::runTransition(platform::ui::TransitionSubtype subtype, bool hiding)
{
    auto transition = platform::ui::Transition::make(platform::ui::TransitionType::MoveIn, subtype);
    transition->setDuration(kTransitionSeconds);
    auto self = std::static_pointer_cast<HCRootController>(shared_from_this());
    transition->setDelegate(std::make_shared<TransitionEnd>(self, hiding, ++generation_));
    view()->layer()->addAnimation(transition, kTransitionKey);
}

void HCRootController::transitionEnded(bool hiding, bool finished)
{
    if (content_ && content_->appearanceState() == (hiding ? platform::ui::AppearanceState::Disappearing
                                                            : platform::ui::AppearanceState::Appearing)) {
        content_->endAppearanceTransition();
    }
    HalcyonDashboard::animationDidStop(finished);
}

void HCRootController::cleanupSubviews()
{
    HC_CHECK_MAIN_THREAD();
    if (!content_) {
        return;
    }
    auto content = std::move(content_);
    contentShown_ = false;
    if (content->appearanceState() != platform::ui::AppearanceState::Disappeared) {
        if (content->appearanceState() != platform::ui::AppearanceState::Disappearing) {
            content->beginAppearanceTransition(false, false);
        }
        content->endAppearanceTransition();
    }
    if (auto contentView = content->viewIfLoaded()) {
        contentView->removeFromSuperview();
    }
}

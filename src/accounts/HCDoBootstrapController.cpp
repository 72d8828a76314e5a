#include "accounts/HCDoBootstrapController.h"

#include "accounts/HCIntroScreenView.h"
#include "core/halcyon/Halcyon.h"
#include "platform/runtime/ClassRegistry.h"
#include "platform/ui/NavigationController.h"
#include "platform/runtime/ThreadChecker.h"

namespace {

const bool registered = (platform::registerClass<HCDoBootstrapController>("HCDoBootstrapController"), true);

}  // namespace

void HCDoBootstrapController::setCompleteDelegate(const HCDelegate& complete)
{
    HC_CHECK_MAIN_THREAD();
    (void)registered;
    complete_ = complete;
}

void HCDoBootstrapController::loadView()
{
    setView(hcintro::makeScreenView(kMessage, {}));
}

void HCDoBootstrapController::viewDidAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    ViewController::viewDidAppear(animated);
    if (started_) {
        return;
    }
    started_ = true;
    auto self = std::static_pointer_cast<HCDoBootstrapController>(shared_from_this());
    auto ended = HCDelegate::withFunction([self](const platform::ObjectPtr&) { self->loginEnded(); });
    // A log-in already running (the network's return may start one as the
    // screen comes up, for the same player) is the one this screen waits
    // for: a second would not start, and its end would never come here.
    if (Halcyon::isBootstrapInProgress()) {
        Halcyon::addBootstrapDelegates(ended, ended);
        return;
    }
    Halcyon::doBootstrapAsUserId(Halcyon::lastLoggedInUserId(), ended, ended);
}

void HCDoBootstrapController::loginEnded()
{
    HC_CHECK_MAIN_THREAD();
    complete_.invoke(nullptr);
    // The linking step, when the log-in showed it, sits over this screen and
    // ends the flow itself.
    auto container = navigationController();
    if (!(container ? container->modalViewController() : modalViewController())) {
        Halcyon::dismissRootControllerOrItsModal(platform::self(this));
    }
}

#include "accounts/HCLinkSocialNetworksController.h"

#include <atomic>

#include "accounts/HCIntroScreenView.h"
#include "core/halcyon/Halcyon.h"
#include "platform/runtime/ClassRegistry.h"
#include "platform/runtime/ThreadChecker.h"

namespace {

const bool linkSocialNetworksControllerRegistered =
    (platform::registerClass<HCLinkSocialNetworksController>("HCLinkSocialNetworksController"), true);

std::atomic<bool> gSessionSeen{false};

}  // namespace

bool HCLinkSocialNetworksController::hasSessionSeenLinkSocialNetworksScreen()
{
    (void)linkSocialNetworksControllerRegistered;
    return gSessionSeen;
}

void HCLinkSocialNetworksController::invalidateSessionSeenLinkSocialNetworksScreen()
{
    gSessionSeen = false;
}

void HCLinkSocialNetworksController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    std::weak_ptr<HCLinkSocialNetworksController> weak = platform::self(this);
    setView(hcintro::makeScreenView("Link your social networks to find your friends on Halcyon.",
                                    {{kContinueTitle, [weak] {
                                          if (auto self = weak.lock()) Halcyon::dismissRootControllerOrItsModal(self);
                                      }}}));
}

void HCLinkSocialNetworksController::viewDidAppear(bool animated)
{
    ViewController::viewDidAppear(animated);
    gSessionSeen = true;
}

#pragma once
// The screens the log-in shows, built by the accounts layer above the core
// and handed to start-up in the assembly. Without them nothing is shown: a
// player who was never asked stays unasked, and the log-in goes on without
// the linking step.
//
// Thread: main thread.
#include <string>

#include "kernel/callbacks/HCDelegate.h"
#include "platform/ui/ViewController.h"

class HCLoginScreens {
public:
    virtual ~HCLoginScreens() = default;
    // An intro flow (approval, confirm account, linking) is on screen.
    virtual bool isIntroFlowActive() = 0;
    // The approval question; the screen calls Halcyon::userDidApproveHalcyon
    // and then one of the two delegates.
    virtual void presentApproval(const HCDelegate& approved, const HCDelegate& denied) = 0;
    // The confirm-account screen: it logs in, then invokes `complete`.
    virtual void presentConfirmAccount(const HCDelegate& complete, bool useModalInDashboard) = 0;
    // The social-network linking step after a log-in.
    virtual void presentLinkSocialNetworks() = 0;
    // The web intro flow, full screen: the delegates of its caller are not
    // its business.
    virtual void presentIntroFlow() = 0;
    virtual bool hasSessionSeenLinkSocialNetworksScreen() = 0;
    virtual void invalidateSessionSeenLinkSocialNetworksScreen() = 0;
    // Takes an intro flow off the screen (animated). Given the screen that
    // ends, the flow that holds it: its window, its sheet, or, for a page
    // pushed on the dashboard's tab, the dashboard; nothing when the player
    // already went back off it. Without one, the latest flow: one over the
    // game's own screen, else the open dashboard's modal, else the dashboard.
    virtual void dismissRootControllerOrItsModal(const platform::ui::ViewControllerPtr& endingScreen) = 0;
    // The full-screen error text, shown while the dashboard is up.
    virtual void displayErrorMessage(const std::string& text) = 0;
};

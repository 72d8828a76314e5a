#pragma once
// The log-in's screens as the accounts layer shows them: each is loaded by
// name through the controller loader, wrapped in an intro navigation
// controller with its bar hidden and presented modally, animated, over the
// open dashboard or else the key window's root controller; in the open
// dashboard the confirm-account screen is pushed on the page it was asked
// from instead. The approval and the web intro bring their own background.
// A game with no screen of its own yet gets a window for the intro flow,
// which goes away with the flow. A screen that ends its own flow takes down
// that flow only.
//
// Thread: main thread.
#include <memory>

#include "core/halcyon/HCLoginScreens.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

class HCAccountScreens final : public HCLoginScreens {
public:
    bool isIntroFlowActive() override;
    void presentApproval(const HCDelegate& approved, const HCDelegate& denied) override;
    void presentConfirmAccount(const HCDelegate& complete, bool useModalInDashboard) override;
    void presentLinkSocialNetworks() override;
    void presentIntroFlow() override;
    bool hasSessionSeenLinkSocialNetworksScreen() override;
    void invalidateSessionSeenLinkSocialNetworksScreen() override;
    void dismissRootControllerOrItsModal(const platform::ui::ViewControllerPtr& endingScreen) override;
    void displayErrorMessage(const std::string& text) override;

private:
    void presentRootControllerWithModal(const platform::ui::ViewControllerPtr& modal);
    void closeIntroWindow();

    // The window made for a flow when the game had no root controller.
    std::shared_ptr<platform::ui::Window> introWindow_;
};

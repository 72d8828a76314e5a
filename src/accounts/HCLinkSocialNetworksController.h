#pragma once
// The social-network linking step ("LinkSocialNetworks") shown once per
// session after a log-in. No network can be linked yet: the player moves on,
// which ends the intro flow (and lets a held-back logged-in call through).
//
// Thread: main thread.
#include "platform/ui/ViewController.h"

class HCLinkSocialNetworksController final : public platform::ui::ViewController {
public:
    static constexpr const char* kContinueTitle = "Not Now";

    static bool hasSessionSeenLinkSocialNetworksScreen();
    static void invalidateSessionSeenLinkSocialNetworksScreen();

    void loadView() override;
    void viewDidAppear(bool animated) override;
    std::string kindName() const override { return "HCLinkSocialNetworksController"; }
};

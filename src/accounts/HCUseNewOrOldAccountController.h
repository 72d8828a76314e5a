#pragma once
// The switch-user page ("UseNewOrOldAccount"): says who plays on this device
// and starts a new account in the player's place. The log-in it starts has
// the loading screen up until it ends; a failed one, or one that cannot
// start (another log-in runs, the service was never approved), says so
// while the page is on screen.
//
// Thread: main thread.
#include "dashboard/HCShowMessageAndReturnController.h"

class HCUseNewOrOldAccountController final : public HCShowMessageAndReturnController {
public:
    static constexpr const char* kNewAccountTitle = "Start a New Account";
    static constexpr const char* kFailureMessage = "A new account could not be started. Please try again later.";

    HCUseNewOrOldAccountController();
    void startNewAccount();

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    std::string kindName() const override { return "HCUseNewOrOldAccountController"; }

private:
    void showPlayer();
    void newAccountFailed();
};

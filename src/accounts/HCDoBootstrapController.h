#pragma once
// The confirm-account screen ("DoBootstrap"): once on screen it logs the
// player in, then invokes its complete delegate and, unless the log-in put
// its linking step over it, ends the intro flow.
//
// Thread: main thread.
#include "kernel/callbacks/HCDelegate.h"
#include "platform/ui/ViewController.h"

class HCDoBootstrapController final : public platform::ui::ViewController {
public:
    static constexpr const char* kMessage = "Logging in to Halcyon…";

    void setCompleteDelegate(const HCDelegate& complete);
    void loadView() override;
    void viewDidAppear(bool animated) override;
    std::string kindName() const override { return "HCDoBootstrapController"; }

private:
    void loginEnded();

    HCDelegate complete_;
    bool started_ = false;
};

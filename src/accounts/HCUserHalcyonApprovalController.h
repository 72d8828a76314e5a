#pragma once
// The approval question ("UserHalcyonApproval"): the player lets the game
// use the service, or not. Either answer is handed to
// Halcyon::userDidApproveHalcyon first, then the matching delegate hears it;
// a refusal also takes the screen away.
//
// Thread: main thread.
#include "kernel/callbacks/HCDelegate.h"
#include "platform/ui/ViewController.h"

class HCUserHalcyonApprovalController final : public platform::ui::ViewController {
public:
    static constexpr const char* kApproveTitle = "Approve";
    static constexpr const char* kDenyTitle = "Deny";

    void setApprovedDelegate(const HCDelegate& approved, const HCDelegate& denied);
    void loadView() override;
    std::string kindName() const override { return "HCUserHalcyonApprovalController"; }

    void approve();
    void deny();

private:
    void answer(bool approved);

    HCDelegate approved_;
    HCDelegate denied_;
    bool answered_ = false;
};

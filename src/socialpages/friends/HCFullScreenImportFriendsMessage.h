#pragma once
// The message that takes an empty list's place ("FullscreenImportFriendsMessage",
// "HeaderedFullscreenImportFriendsMessage"): it names the networks the
// player could import friends from and its button opens the import page
// on the owner's navigation controller (the owner is not retained).
//
// Thread: main thread.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "social/users/HCUsersCredential.h"
#include "uiframework/HCViewController.h"

class HCFullScreenImportFriendsMessage : public HCViewController {
public:
    HCFullScreenImportFriendsMessage();

    // The notice leads the text; the networks are named by their display
    // names, the last after "or".
    void setMissingCredentials(const std::vector<std::shared_ptr<HCUsersCredential>>& credentials,
                               const std::string& notice);
    void setOwner(const platform::ui::ViewControllerPtr& owner) { owner_ = owner; }
    const std::shared_ptr<platform::ui::Label>& messageLabel() const { return messageLabel_; }

    void onImportFriendsPressed();
    void viewDidLoad() override;

    std::string kindName() const override { return "HCFullScreenImportFriendsMessage"; }

private:
    std::weak_ptr<platform::ui::ViewController> owner_;
    std::shared_ptr<platform::ui::Label> messageLabel_;
    platform::ui::ButtonPtr importButton_;
};

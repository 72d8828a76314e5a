#pragma once
// The developer's e-mail newsletter for the game in context ("NewsLetter"):
// one switch. Subscribing first needs an e-mail-and-password credential; a
// player without one is offered to make one, and coming back with it
// subscribes at once. Each other appearance reads the subscription again.
// A change the service refused puts the switch back where it was, so it
// never shows a state the service does not hold.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/ActionSheet.h"
#include "platform/ui/Label.h"
#include "platform/ui/Switch.h"
#include "uiframework/HCViewController.h"

class HCPaginatedSeries;

class HCNewsLetterController final : public HCViewController, public platform::ui::ActionSheetDelegate {
public:
    static constexpr const char* kCredentialNeeded =
        "To subscribe you must first enable account retrieval with an e-mail and password.";
    static constexpr const char* kEnableRetrieval = "Enable Account Retrieval";

    // The player moved the switch.
    void subscriptionChanged();
    void setSubscriptionState(bool subscribe);
    const std::shared_ptr<platform::ui::Switch>& subscriptionSwitch() const { return subscriptionSwitch_; }

    void actionSheetClickedButtonAtIndex(platform::ui::ActionSheet& actionSheet, int buttonIndex) override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    bool canReceiveCallbacksNow() const override { return true; }
    std::string kindName() const override { return "HCNewsLetterController"; }

private:
    std::shared_ptr<HCNewsLetterController> me();
    std::optional<std::string> gameId() const;
    void doServerAction();
    void onRetrievedSetting(std::shared_ptr<HCPaginatedSeries> reply);
    void onRequestDone(std::shared_ptr<platform::Object>);
    void onChangeFailed(std::shared_ptr<platform::Object>);

    std::shared_ptr<platform::ui::Label> summaryLabel_;
    std::shared_ptr<platform::ui::Label> descriptionLabel_;
    std::shared_ptr<platform::ui::Switch> subscriptionSwitch_;
    bool securingAccount_ = false;
};

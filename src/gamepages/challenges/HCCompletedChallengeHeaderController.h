#pragma once
// The result of a challenge attempt ("CompletedChallengeHeader"): the
// challenge in its speech bubble and one action: "OK" after a one-shot
// challenge, "Try Again" after a lost or tied multi-attempt one, "Send
// Result As Challenge" after a won one, which chooses the challenger on the
// send page and sends the result back. It stands alone (a modal of its own)
// or heads the send page. The challenge may be given before or after its
// view loads.
//
// Thread: main thread.
#include <functional>
#include <memory>

#include "gamepages/challenges/HCChallengeDetailFrame.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "uiframework/HCViewController.h"
#include "uiframework/table/HCTableControllerHeader.h"
#include "uiframework/widgets/HCDefaultTextField.h"

class HCChallengeToUser;
class HCSendChallengeController;

class HCCompletedChallengeHeaderController : public HCViewController, public HCTableControllerHeader {
public:
    void viewDidLoad() override;
    void setChallenge(const std::shared_ptr<HCChallengeToUser>& record);
    void onActionButtonPressed();
    void tryAgainPressed();
    void cancel();
    void resizeView(const platform::ui::ViewPtr& pageView) override;
    bool canReceiveCallbacksNow() const override { return true; }

    const std::shared_ptr<HCDefaultTextField>& userMessageTextField() const { return userMessageTextField_; }

    std::string kindName() const override { return "HCCompletedChallengeHeaderController"; }

private:
    void showChallenge();
    std::shared_ptr<HCSendChallengeController> sendChallengeController() const;

    std::shared_ptr<HCChallengeToUser> challenge_;
    std::shared_ptr<HCChallengeDetailFrame> challengeDescriptionContainer_;
    platform::ui::ButtonPtr actionButton_;
    std::shared_ptr<HCDefaultTextField> userMessageTextField_;
    std::shared_ptr<platform::ui::Label> personalMessageLabel_;
    std::function<void()> action_;
};

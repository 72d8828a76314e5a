#pragma once
// The header of a challenge's detail page ("ChallengeDetailHeader"): the
// challenge in its speech bubble and, for the local player's own challenge
// of the running game that is not completed yet, the button that starts it.
// It shows its page's challenge when its view loads and again whenever the
// page has a new one, so either may come first.
//
// Thread: main thread.
#include <memory>

#include "gamepages/challenges/HCChallengeDetailFrame.h"
#include "kernel/callbacks/HCCallbackable.h"
#include "platform/ui/Button.h"
#include "platform/ui/ViewController.h"
#include "uiframework/table/HCTableControllerHeader.h"

class HCChallengeToUser;

class HCChallengeDetailHeaderController : public platform::ui::ViewController,
                                          public HCTableControllerHeader,
                                          public HCCallbackable {
public:
    void viewDidLoad() override;
    void setChallengeToUser(const std::shared_ptr<HCChallengeToUser>& record);
    void resizeView(const platform::ui::ViewPtr& pageView) override;
    bool canReceiveCallbacksNow() const override { return true; }

    const std::shared_ptr<HCChallengeDetailFrame>& challengeDescriptionContainer() const
    {
        return challengeDescriptionContainer_;
    }
    const platform::ui::ButtonPtr& startChallengeButton() const { return startChallengeButton_; }

    std::string kindName() const override { return "HCChallengeDetailHeaderController"; }

private:
    // The header's height down to the start button when it shows, else
    // down to `lowestWithoutButton` (the frame when a challenge is set, its
    // speech bubble when the page sizes the header).
    void fitHeight(double width, const platform::ui::ViewPtr& lowestWithoutButton);

    std::shared_ptr<HCChallengeDetailFrame> challengeDescriptionContainer_;
    platform::ui::ButtonPtr startChallengeButton_;
};

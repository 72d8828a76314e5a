#pragma once
// The header of the send page ("SendChallengeHeader"): the challenge type
// (fetched by its id; "Loading..." until then), the game's text, the
// player's message, the send button and, when the game can make a stronger
// challenge, the button for that. The header keeps itself and its page
// alive until the type's reply comes or its request is dropped.
//
// Thread: main thread.
#include <memory>

#include "core/images/HCImageView.h"
#include "kernel/callbacks/HCCallbackable.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewController.h"
#include "uiframework/table/HCTableControllerHeader.h"
#include "uiframework/widgets/HCDefaultTextField.h"

class HCChallengeDefinition;
class HCPaginatedSeries;

class HCSendChallengeHeaderController : public platform::ui::ViewController,
                                        public HCTableControllerHeader,
                                        public HCCallbackable {
public:
    void viewDidLoad() override;
    void setChallenge(const std::shared_ptr<HCChallengeDefinition>& definition);
    // Whether the game makes stronger challenges; the button shows only then.
    bool allowCreateStrongerChallenge() const;
    void createStrongerChallenge();
    void cancel();
    void resizeView(const platform::ui::ViewPtr& pageView) override;
    bool canReceiveCallbacksNow() const override { return true; }

    bool finishedDownloadingChallenge() const { return finishedDownloadingChallenge_; }
    const std::shared_ptr<HCDefaultTextField>& userMessageTextField() const { return userMessageTextField_; }

    std::string kindName() const override { return "HCSendChallengeHeaderController"; }

private:
    // A reply without the type fails like a refused request.
    void _newChallengeDefinitionDownloaded(const std::shared_ptr<HCPaginatedSeries>& series);
    void releaseRetainers();

    bool finishedDownloadingChallenge_ = false;
    std::shared_ptr<platform::ui::Label> titleLabel_;
    std::shared_ptr<platform::ui::Label> descriptionLabel_;
    std::shared_ptr<HCImageView> challengeIconImageView_;
    std::shared_ptr<HCDefaultTextField> userMessageTextField_;
    platform::ui::ButtonPtr sendChallengeButton_;
    platform::ui::ButtonPtr tryAgainButton_;
    // Held while the type downloads.
    platform::ObjectPtr selfRetainer_;
    platform::ObjectPtr parentRetainer_;
};

#pragma once
// The speech bubble that shows one challenge as a recipient got it: the
// type's icon and title, the text, the result, and who sent it with their
// message. Before a challenge is set the texts are empty and the sender
// reads "From".
//
// Thread: main thread.
#include <memory>

#include "core/images/HCImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

class HCChallengeToUser;

class HCChallengeDetailFrame : public platform::ui::View {
public:
    explicit HCChallengeDetailFrame(const platform::ui::Rect& frame);
    static std::shared_ptr<HCChallengeDetailFrame> make(const platform::ui::Rect& frame);

    void awakeFromNib() override;
    void setChallengeToUser(const std::shared_ptr<HCChallengeToUser>& record);
    bool hasChallengeToUserBeenSet() const { return hasChallengeToUserBeenSet_; }
    const std::shared_ptr<platform::ui::ImageView>& speechBubble() const { return speechBubble_; }

    std::string kindName() const override { return "HCChallengeDetailFrame"; }

private:
    bool hasChallengeToUserBeenSet_ = false;
    std::shared_ptr<platform::ui::ImageView> speechBubble_;
    std::shared_ptr<platform::ui::ImageView> speechBubbleArrow_;
    std::shared_ptr<HCImageView> challengeIconPictureView_;
    std::shared_ptr<platform::ui::Label> titleLabel_;
    std::shared_ptr<platform::ui::Label> descriptionLabel_;
    std::shared_ptr<platform::ui::Label> resultLabel_;
    std::shared_ptr<HCImageView> resultIcon_;
    std::shared_ptr<HCImageView> challengerProfilePictureView_;
    std::shared_ptr<platform::ui::Label> challengerNameLabel_;
    std::shared_ptr<platform::ui::Label> challengerUserMessageLabel_;
};

#include "gamepages/challenges/HCChallengeDetailFrame.h"

#include "core/images/HCImageLoader.h"
#include "core/users/HCUser.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/challenges/HCChallenge.h"
#include "scores/challenges/HCChallengeDefinition.h"
#include "scores/challenges/HCChallengeToUser.h"

using platform::ui::Label;
using platform::ui::Rect;

HCChallengeDetailFrame::HCChallengeDetailFrame(const Rect& frame)
    : platform::ui::View(frame),
      speechBubble_(platform::ui::ImageView::make(Rect(60, 0, 250, 110))),
      speechBubbleArrow_(platform::ui::ImageView::make(Rect(50, 80, 12, 16))),
      challengeIconPictureView_(HCImageView::make(Rect(70, 6, 36, 36))),
      titleLabel_(Label::make(Rect(112, 6, 190, 18))),
      descriptionLabel_(Label::make(Rect(112, 26, 190, 30))),
      resultLabel_(Label::make(Rect(92, 60, 210, 18))),
      resultIcon_(HCImageView::make(Rect(70, 60, 18, 18))),
      challengerProfilePictureView_(HCImageView::make(Rect(4, 60, 44, 44))),
      challengerNameLabel_(Label::make(Rect(4, 112, 120, 16))),
      challengerUserMessageLabel_(Label::make(Rect(70, 84, 232, 18)))
{
}

std::shared_ptr<HCChallengeDetailFrame> HCChallengeDetailFrame::make(const Rect& frame)
{
    auto view = std::make_shared<HCChallengeDetailFrame>(frame);
    view->awakeFromNib();
    return view;
}

void HCChallengeDetailFrame::awakeFromNib()
{
    HC_CHECK_MAIN_THREAD();
    for (const platform::ui::ViewPtr& part : std::initializer_list<platform::ui::ViewPtr>{
             speechBubble_, speechBubbleArrow_, challengeIconPictureView_, titleLabel_, descriptionLabel_, resultLabel_,
             resultIcon_, challengerProfilePictureView_, challengerNameLabel_, challengerUserMessageLabel_})
        addSubview(part);
    if (auto bubble = HCImageLoader::loadImage("HCSpeechBubble.png")) speechBubble_->setImage(bubble->stretchableImage(8, 16));
    speechBubbleArrow_->setTransform(platform::ui::AffineTransform(-1, 0, 0, -1, 0, 0));
    if (hasChallengeToUserBeenSet_) return;
    for (const auto& label : {descriptionLabel_, resultLabel_, titleLabel_, challengerUserMessageLabel_})
        label->setText("");
    challengerNameLabel_->setText("From");
}

void HCChallengeDetailFrame::setChallengeToUser(const std::shared_ptr<HCChallengeToUser>& record)
{
    HC_CHECK_MAIN_THREAD();
    auto challenge = record ? record->challenge() : nullptr;
    if (!challenge) return;
    hasChallengeToUserBeenSet_ = true;
    const auto& definition = challenge->challengeDefinition();
    challengeIconPictureView_->setDefaultImage(HCImageLoader::loadImage("HCDefaultChallengeIcon.png"));
    challengeIconPictureView_->setImageUrl(definition ? definition->iconUrl() : std::nullopt);
    titleLabel_->setText(definition ? definition->title().value_or("") : "");
    descriptionLabel_->setText(challenge->challengeDescription().value_or(""));
    resultLabel_->setText(record->formattedResultDescription().value_or(""));
    resultLabel_->setHidden(false);
    const auto icon = HCChallengeToUser::getChallengeResultIconName(record->result());
    resultIcon_->setImage(icon ? HCImageLoader::loadImage(*icon) : nullptr);
    resultIcon_->setHidden(false);
    const auto& challenger = challenge->challenger();
    challengerNameLabel_->setText(challenger ? challenger->name().value_or("") : "");
    challengerUserMessageLabel_->setText(challenge->userMessage().value_or(""));
    challengerProfilePictureView_->useProfilePictureFromUser(challenger);
}

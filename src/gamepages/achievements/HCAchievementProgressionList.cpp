#include "gamepages/achievements/HCAchievementProgressionList.h"

#include <algorithm>
#include <cmath>

#include "core/images/HCImageLoader.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/achievements/HCAchievement.h"

namespace {

using platform::ui::Rect;

constexpr double kTextX = 65;
constexpr double kTitleHeight = 19;
constexpr double kDescriptionHeight = 27;

std::shared_ptr<platform::ui::Label> label(const Rect& frame)
{
    return platform::ui::Label::make(frame);
}

// `label`'s text fitted into `width`, at most `maxHeight` high, at its origin.
void fit(platform::ui::Label& label, double width, double maxHeight)
{
    const auto size = label.sizeThatFits(platform::ui::Size(width, maxHeight));
    const auto origin = label.frame().origin;
    label.setFrame(Rect(origin.x, origin.y, std::max(0.0, width), std::min(size.height, maxHeight)));
}

}  // namespace

HCAchievementProgressionList::HCAchievementProgressionList()
    : titleLabel_(label(Rect(kTextX, 5, 200, kTitleHeight))),
      descriptionLabel_(label(Rect(kTextX, 50, 200, kDescriptionHeight))),
      unlockedIcon_(HCImageView::make(Rect(8, 8, 50, 50))),
      gamerScoreContainer_(platform::ui::View::make(Rect(270, 20, 44, 30))),
      gamerScoreLabel_(label(Rect(0, 0, 44, 30))),
      progressBackground_(HCImageView::make(Rect(kTextX, 30, 200, 12))),
      progressBar_(HCImageView::make(Rect(kTextX, 30, 0, 12))),
      progressionBubbleContainer_(platform::ui::View::make(Rect(0, 0, 36, 16))),
      progressAmountBubbleLabel_(label(Rect(0, 0, 36, 16))),
      disclosureIcon_(platform::ui::ImageView::make(Rect(290, 30, 20, 20)))
{
    setFrame(Rect(0, 0, 320, kHeight));
    // The rows of a list are information; a page that reacts to them says so.
    setUserInteractionEnabled(false);
    descriptionLabel_->setNumberOfLines(0);
}

void HCAchievementProgressionList::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    // Not in the constructor: a view joins its parent only once it is shared.
    if (!titleLabel_->superview()) {
        for (const platform::ui::ViewPtr& view :
             {platform::ui::ViewPtr(unlockedIcon_), platform::ui::ViewPtr(titleLabel_),
              platform::ui::ViewPtr(descriptionLabel_), platform::ui::ViewPtr(gamerScoreContainer_),
              platform::ui::ViewPtr(progressBackground_), platform::ui::ViewPtr(progressBar_),
              platform::ui::ViewPtr(progressionBubbleContainer_), platform::ui::ViewPtr(disclosureIcon_)}) {
            contentView()->addSubview(view);
        }
        gamerScoreContainer_->addSubview(gamerScoreLabel_);
        progressionBubbleContainer_->addSubview(progressAmountBubbleLabel_);
    }
    auto achievement = platform::as<HCAchievement>(resource);
    if (!achievement) return;
    const double percent = achievement->percentComplete();
    if (percent == 100.0) {
        unlockedIcon_->setDefaultImage(HCImageLoader::loadImage("HCUnlockedAchievementIcon.png"));
        unlockedIcon_->setImageUrl(achievement->iconUrl());
    } else {
        unlockedIcon_->setImage(HCImageLoader::loadImage("HCLockedAchievementIcon.png"));
    }
    if (achievement->isSecret() && percent == 0) {
        titleLabel_->setText(kSecretTitle);
        descriptionLabel_->setText(kSecretDescription);
    } else {
        titleLabel_->setText(achievement->title().value_or(""));
        descriptionLabel_->setText(achievement->description());
    }
    descriptionLabel_->setFrame(Rect(kTextX, 50, 200, kDescriptionHeight));
    titleLabel_->setFrame(Rect(kTextX, 5, 200, kTitleHeight));
    gamerScoreLabel_->setText(std::to_string(achievement->gamerscore()));

    const bool showsProgress = percent >= 1 && percent != 100.0;
    progressBackground_->setHidden(!showsProgress);
    progressBar_->setHidden(!showsProgress);
    progressionBubbleContainer_->setHidden(!showsProgress);
    textNeedsRearrangement_ = !showsProgress;
    if (showsProgress) {
        for (const auto& part : {std::make_pair(progressBackground_, "HCAchievementProgressBackground.png"),
                                 std::make_pair(progressBar_, "HCAchievementProgressBar.png")}) {
            auto image = HCImageLoader::loadImage(part.second);
            part.first->setImage(image ? image->stretchableImage(10, 0) : nullptr);
            part.first->setShouldScaleImageToFillRect(true);
            part.first->setUnframed(true);
            part.first->setUseSharpCorners(true);
        }
        progressAmountBubbleLabel_->setText(std::to_string(static_cast<int>(percent)) + "%");
        percentComplete_ = percent;
    }
    setNeedsLayout();
}

void HCAchievementProgressionList::layoutSubviews()
{
    HCTableCellHelper::layoutSubviews();
    const auto icon = unlockedIcon_->frame();
    const double width = gamerScoreContainer_->frame().origin.x - 15 - (icon.maxX() + 15);
    fit(*descriptionLabel_, width, kDescriptionHeight);
    fit(*titleLabel_, width, kTitleHeight);
    if (textNeedsRearrangement_) {
        auto title = titleLabel_->frame();
        titleLabel_->setFrame(Rect(title.origin.x, icon.origin.y, title.width(), title.height()));
        auto description = descriptionLabel_->frame();
        descriptionLabel_->setFrame(
            Rect(description.origin.x, titleLabel_->frame().maxY(), description.width(), description.height()));
    }
    if (!progressBar_->isHidden()) {
        const auto background = progressBackground_->frame();
        progressBar_->setFrame(Rect(background.origin.x, background.origin.y,
                                    background.width() * percentComplete_ / 100, background.height()));
    }
    if (!progressionBubbleContainer_->isHidden()) {
        const auto bar = progressBar_->frame();
        const auto bubble = progressionBubbleContainer_->frame();
        progressionBubbleContainer_->setFrame(Rect(bar.origin.x + bar.width() - bubble.width() / 2,
                                                   bar.origin.y + bar.height() / 2 - bubble.height(),
                                                   bubble.width(), bubble.height()));
    }
    const bool takesTouches = isUserInteractionEnabled();
    gamerScoreContainer_->setHidden(takesTouches);
    disclosureIcon_->setHidden(!takesTouches);
}

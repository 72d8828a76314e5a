#include "gamepages/achievements/HCAchievementCompareListCell.h"

#include <algorithm>

#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageLoader.h"
#include "gamepages/achievements/HCAchievementProgressionList.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/achievements/HCAchievement.h"

namespace {

using platform::ui::Rect;

constexpr const char* kLocked = "HCLockedAchievementIcon.png";
constexpr const char* kUnlocked = "HCUnlockedAchievementIconNotSquare.png";

void showUnlocked(HCImageView& icon, const HCAchievement& achievement)
{
    icon.setDefaultImage(HCImageLoader::loadImage(kUnlocked));
    icon.setImageUrl(achievement.iconUrl());
}

void showImage(HCImageView& icon, const char* name)
{
    icon.setImage(HCImageLoader::loadImage(name));
}

}  // namespace

HCAchievementCompareListCell::HCAchievementCompareListCell()
    : titleLabel_(platform::ui::Label::make(Rect(10, 5, 200, 19))),
      descriptionLabel_(platform::ui::Label::make(Rect(10, 26, 200, 27))),
      firstIconContainer_(platform::ui::View::make(Rect(222, 8, 44, 44))),
      secondIconContainer_(platform::ui::View::make(Rect(270, 8, 44, 44))),
      firstUnlockedIcon_(HCImageView::make(Rect(2, 2, 40, 40))),
      secondUnlockedIcon_(HCImageView::make(Rect(2, 2, 40, 40))),
      gamerScoreContainer_(platform::ui::View::make(Rect(180, 15, 36, 30))),
      gamerScoreLabel_(platform::ui::Label::make(Rect(0, 0, 36, 30)))
{
    setFrame(Rect(0, 0, 320, 60));
    descriptionLabel_->setNumberOfLines(0);
}

void HCAchievementCompareListCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    // Not in the constructor: a view joins its parent only once it is shared.
    if (!titleLabel_->superview()) {
        contentView()->addSubview(titleLabel_);
        contentView()->addSubview(descriptionLabel_);
        contentView()->addSubview(firstIconContainer_);
        contentView()->addSubview(secondIconContainer_);
        contentView()->addSubview(gamerScoreContainer_);
        firstIconContainer_->addSubview(firstUnlockedIcon_);
        secondIconContainer_->addSubview(secondUnlockedIcon_);
        gamerScoreContainer_->addSubview(gamerScoreLabel_);
    }
    auto achievement = platform::as<HCAchievement>(resource);
    if (!achievement) return;
    const bool localUnlocked = achievement->percentComplete() == 100.0;
    const auto& compared = achievement->comparedToUserId();
    const bool comparing = compared && !compared->empty() && *compared != Halcyon::lastLoggedInUserId();
    secondIconContainer_->setHidden(!comparing);
    auto& localIcon = comparing ? *secondUnlockedIcon_ : *firstUnlockedIcon_;
    if (comparing) {
        if (!achievement->isUnlockedByComparedToUser()) {
            showImage(*firstUnlockedIcon_, kLocked);
        } else if (localUnlocked) {
            showUnlocked(*firstUnlockedIcon_, *achievement);
        } else {
            // Their unlock must not give the icon of an achievement the player has not seen.
            showImage(*firstUnlockedIcon_, kUnlocked);
        }
    }
    if (localUnlocked) {
        showUnlocked(localIcon, *achievement);
    } else {
        showImage(localIcon, kLocked);
    }

    const auto lastColumn = comparing ? secondIconContainer_->frame() : firstIconContainer_->frame();
    auto score = gamerScoreContainer_->frame();
    score.origin.x = lastColumn.origin.x - score.width() - 5;
    gamerScoreContainer_->setFrame(score);
    for (const auto& text : {titleLabel_, descriptionLabel_}) {
        auto frame = text->frame();
        text->setFrame(Rect(frame.origin.x, frame.origin.y, std::max(0.0, score.origin.x - frame.origin.x - 10),
                            frame.height()));
    }
    if (!achievement->isSecret() || localUnlocked) {
        titleLabel_->setText(achievement->title().value_or(""));
        descriptionLabel_->setText(achievement->description());
    } else {
        titleLabel_->setText(HCAchievementProgressionList::kSecretTitle);
        descriptionLabel_->setText(HCAchievementProgressionList::kSecretDescription);
    }
    if (!descriptionLabel_->text().empty()) {
        auto frame = descriptionLabel_->frame();
        const auto size = descriptionLabel_->sizeThatFits(platform::ui::Size(frame.width(), 1e9));
        descriptionLabel_->setFrame(Rect(frame.origin.x, frame.origin.y, frame.width(), size.height));
    }
    const auto first = firstIconContainer_->frame();
    auto cell = frame();
    setFrame(Rect(cell.origin.x, cell.origin.y, cell.width(),
                  std::max(descriptionLabel_->frame().maxY() + 10, first.origin.y * 2 + first.height())));
    setNeedsLayout();
    gamerScoreLabel_->setText(std::to_string(achievement->gamerscore()));
}

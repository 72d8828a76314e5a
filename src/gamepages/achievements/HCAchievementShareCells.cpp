#include "gamepages/achievements/HCAchievementShareCells.h"

#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageLoader.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "gamepages/achievements/HCSelectAchievementToShareController.h"
#include "platform/runtime/ThreadChecker.h"

HCAchievementProgressionListLeadingCell::HCAchievementProgressionListLeadingCell()
{
    setFrame(platform::ui::Rect(0, 0, 320, 44));
    setAccessoryType(platform::ui::TableViewCellAccessoryType::DisclosureIndicator);
}

void HCAchievementProgressionListLeadingCell::onResourceChanged(const platform::ObjectPtr&)
{
    textLabel()->setText(kText);
}

HCSelectAchievementToShareLeadingCell::HCSelectAchievementToShareLeadingCell()
    : label_(platform::ui::Label::make(platform::ui::Rect(60, 0, 250, 54))),
      gameIcon_(HCImageView::make(platform::ui::Rect(8, 6, 42, 42)))
{
    setFrame(platform::ui::Rect(0, 0, 320, 54));
}

void HCSelectAchievementToShareLeadingCell::onResourceChanged(const platform::ObjectPtr&)
{
    HC_CHECK_MAIN_THREAD();
    if (!label_->superview()) {
        contentView()->addSubview(gameIcon_);
        contentView()->addSubview(label_);
    }
    const auto counts = HCSelectAchievementToShareController::countLocalAchievements();
    label_->setText(std::to_string(counts.unlocked) + " out of " + std::to_string(counts.total) +
                    " achievements unlocked");
    gameIcon_->setDefaultImage(HCImageLoader::loadImage("HCUnlockedAchievementIcon.png"));
    gameIcon_->setImageUrl(Halcyon::localGameProfileInfo()->iconUrl());
}

#include "gamepages/leaderboards/HCLeaderboardCell.h"

#include "platform/runtime/ThreadChecker.h"
#include "scores/leaderboards/HCLeaderboard.h"

HCLeaderboardCell::HCLeaderboardCell()
    : leaderboardIcon_(platform::ui::ImageView::make(platform::ui::Rect(6, 6, 32, 32))),
      titleLabel_(platform::ui::Label::make(platform::ui::Rect(46, 0, 240, kHeight)))
{
    setFrame(platform::ui::Rect(0, 0, 320, kHeight));
}

void HCLeaderboardCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    // Not in the constructor: a view joins its parent only once it is shared.
    if (!titleLabel_->superview()) {
        contentView()->addSubview(leaderboardIcon_);
        contentView()->addSubview(titleLabel_);
    }
    auto board = platform::as<HCLeaderboard>(resource);
    titleLabel_->setText(board ? board->name().value_or("") : "");
}

#include "gamepages/fanclub/HCFanClubCell.h"

#include "platform/runtime/ThreadChecker.h"

namespace {
using platform::ui::Rect;
}  // namespace

HCFanClubCell::HCFanClubCell()
    : iconView_(platform::ui::ImageView::make(Rect(8, 8, 28, 28))),
      titleLabel_(platform::ui::Label::make(Rect(44, 0, 220, 44))),
      badgeView_(HCBadgeView::redBadge())
{
    setFrame(Rect(0, 0, 320, 44));
    badgeView_->setFrame(Rect(270, 11, 30, HCBadgeView::kHeight));
}

void HCFanClubCell::assemble()
{
    HC_CHECK_MAIN_THREAD();
    if (titleLabel_->superview()) return;
    contentView()->addSubview(iconView_);
    contentView()->addSubview(titleLabel_);
    contentView()->addSubview(badgeView_);
}
